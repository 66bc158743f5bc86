// quorvane-resolve: the window's resolvers on the command line, for scripts and for
// exercising them end to end. Every link is resolved in one process with one HTTP client,
// so cookies set by one page are sent with the next.
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "platform/code_page.h"
#include "resolve/kuaichuan_page.h"
#include "resolve/netdisk_share.h"
#include "resolve/result_fields.h"

namespace quorvane {
namespace {

constexpr const char* kUsage =
    "usage: quorvane-resolve [--service kuaichuan|netdisk] [--code-page NAME] [--null] [--json] "
    "LINK...\n"
    "\n"
    "Resolves each LINK to its direct download address, file name, type label, size and MD5.\n"
    "\n"
    "  --service NAME    kuaichuan (the default) for file pages, netdisk for share pages\n"
    "  --code-page NAME  the local code page of names and labels: 936, 65001, or an ICU\n"
    "                    converter name (default: the locale's character set)\n"
    "  --null            five fields per link (address, name, type, size, md5), each ended by\n"
    "                    a NUL byte, in the local code page exactly as resolved\n"
    "  --json            one JSON object per link and line, UTF-8, with the keys address,\n"
    "                    name, type, size and md5\n"
    "  --help            this text\n"
    "\n"
    "Exit status: 0 when every link gave an address, 1 when any gave none, 2 for a usage error.\n";

enum class Service { kKuaichuan, kNetdisk };
enum class Output { kLines, kNull, kJson };

struct Options {
  Service service = Service::kKuaichuan;
  Output output = Output::kLines;
  std::string codePage;  // empty: the locale's
  std::vector<std::string> links;
  bool help = false;
};

// Fills `options` from the arguments; returns the usage error, or the empty string.
std::string parseArguments(int argc, char** argv, Options& options) {
  bool null = false;
  bool json = false;
  bool onlyLinks = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (onlyLinks || arg.empty() || arg[0] != '-') {
      options.links.emplace_back(arg);
      continue;
    }
    // "--name value" and "--name=value" alike.
    std::string_view name = arg;
    std::string_view value;
    bool hasValue = false;
    if (const auto eq = arg.find('='); eq != std::string_view::npos) {
      name = arg.substr(0, eq);
      value = arg.substr(eq + 1);
      hasValue = true;
    }
    const auto takeValue = [&]() -> bool {
      if (hasValue)
        return true;
      if (i + 1 >= argc)
        return false;
      value = argv[++i];
      return true;
    };
    if (name == "--") {
      onlyLinks = true;
    } else if (name == "--help" || name == "-h") {
      options.help = true;
    } else if (name == "--null" && !hasValue) {
      null = true;
    } else if (name == "--json" && !hasValue) {
      json = true;
    } else if (name == "--service") {
      if (!takeValue())
        return "--service needs a value: kuaichuan or netdisk";
      if (value == "kuaichuan") {
        options.service = Service::kKuaichuan;
      } else if (value == "netdisk") {
        options.service = Service::kNetdisk;
      } else {
        return "unknown service '" + std::string(value) + "': use kuaichuan or netdisk";
      }
    } else if (name == "--code-page") {
      if (!takeValue() || value.empty())
        return "--code-page needs a value, such as 936";
      options.codePage = value;
    } else {
      return "unknown option '" + std::string(arg) + "'";
    }
  }
  if (options.help)
    return {};
  if (null && json)
    return "--null and --json cannot be combined";
  options.output = null ? Output::kNull : json ? Output::kJson : Output::kLines;
  if (options.links.empty())
    return "no LINK given";
  return {};
}

// Local code page bytes as UTF-8, for the terminal and for JSON.
std::string toUtf8(const Text& text) {
  return utf16ToUtf8(localToUtf16(text));
}

std::string jsonString(const std::string& utf8) {
  std::string out = "\"";
  for (const char c : utf8) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (byte < 0x20) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", byte);
      out += escape;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

void write(std::string_view bytes) {
  std::fwrite(bytes.data(), 1, bytes.size(), stdout);
}

void printFields(const RecordedFields& f, Output output) {
  const Text* fields[] = {&f.downloadAddress, &f.fileName, &f.extension, &f.sizeText, &f.md5};
  switch (output) {
    case Output::kNull:
      for (const Text* field : fields) {
        write(*field);
        write(std::string_view("\0", 1));
      }
      break;
    case Output::kJson: {
      const char* keys[] = {"address", "name", "type", "size", "md5"};
      std::string line = "{";
      for (int i = 0; i < 5; ++i) {
        if (i > 0)
          line += ",";
        line += jsonString(keys[i]) + ":" + jsonString(toUtf8(*fields[i]));
      }
      write(line + "}\n");
      break;
    }
    case Output::kLines: {
      const char* labels[] = {"address", "name", "type", "size", "md5"};
      for (int i = 0; i < 5; ++i) {
        write(std::string(labels[i]) + ": " + toUtf8(*fields[i]) + "\n");
      }
      break;
    }
  }
}

int run(int argc, char** argv) {
  Options options;
  if (const std::string error = parseArguments(argc, argv, options); !error.empty()) {
    std::fprintf(stderr, "quorvane-resolve: %s\nTry 'quorvane-resolve --help' for more.\n",
                 error.c_str());
    return 2;
  }
  if (options.help) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (!options.codePage.empty() && !setLocalCodePage(options.codePage)) {
    std::fprintf(stderr, "quorvane-resolve: unknown code page '%s'\n", options.codePage.c_str());
    return 2;
  }

  bool everyAddress = true;
  for (std::size_t i = 0; i < options.links.size(); ++i) {
    // Arguments arrive as UTF-8; the resolvers take links in the local code page, as the
    // window hands them over.
    const Text link = utf16ToLocal(utf8ToUtf16(options.links[i]));
    RecordedFields fields;
    const Text address = options.service == Service::kNetdisk ? resolveNetdiskShare(link, fields)
                                                              : resolveKuaichuanPage(link, fields);
    fields.setDownloadAddress(address);
    if (address.empty())
      everyAddress = false;
    if (options.output == Output::kLines && i > 0)
      write("\n");
    printFields(fields, options.output);
  }
  std::fflush(stdout);
  return everyAddress ? 0 : 1;
}

}  // namespace
}  // namespace quorvane

int main(int argc, char** argv) {
  return quorvane::run(argc, argv);
}
