// The window's handlers against a stand-in window: which boxes a parse reads and writes,
// in which order, and what reaches the clipboard.
#include <QtTest>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>

#include "window/handlers.h"

using namespace quorvane;

namespace {

QByteArray bytes(const Text& text) {
  return QByteArray::fromStdString(text);
}

const char* nameOf(Box box) {
  switch (box) {
    case Box::kuaichuanLink:
      return "kuaichuanLink";
    case Box::netdiskLink:
      return "netdiskLink";
    case Box::downloadAddress:
      return "downloadAddress";
    case Box::fileName:
      return "fileName";
    case Box::extension:
      return "extension";
    case Box::sizeText:
      return "sizeText";
    case Box::md5:
      return "md5";
  }
  return "?";
}

// Records every operation in one journal, resolvers' calls included, so that tests can
// check the order of reads, writes and resolutions.
QStringList journal;

struct StandInWindow final : WindowControls {
  std::map<Box, Text> boxes;
  bool kuaichuan = false;
  bool netdisk = false;
  std::optional<Text> clipboard;
  int clipboardWrites = 0;

  Text getText(Box box) const override {
    journal.append(QString("get ") + nameOf(box));
    const auto it = boxes.find(box);
    return it == boxes.end() ? Text{} : it->second;
  }
  void setText(Box box, const Text& text) override {
    journal.append(QString("set ") + nameOf(box) + "=" + QString::fromStdString(text));
    boxes[box] = text;
  }
  bool isSelected(Choice choice) const override {
    return choice == Choice::kuaichuan ? kuaichuan : netdisk;
  }
  void setSelected(Choice choice) override {
    (choice == Choice::kuaichuan ? kuaichuan : netdisk) = true;
  }
  bool setClipboardText(const Text& text) override {
    clipboard = text;
    ++clipboardWrites;
    return true;
  }
};

Text fillAs(const char* service, std::string_view link, ResultFields& fields) {
  journal.append(QString("resolve ") + service + " " + QString::fromStdString(std::string(link)));
  const std::string tag(service);
  fields.setFileName(tag + "-name");
  fields.setExtension(tag + "-ext");
  fields.setSizeText(tag + "-size");
  fields.setMd5(tag + "-md5");
  return tag + "-address";
}
Text kuaichuanStandIn(std::string_view link, ResultFields& fields) {
  return fillAs("k", link, fields);
}
Text netdiskStandIn(std::string_view link, ResultFields& fields) {
  return fillAs("n", link, fields);
}
Text throwingStandIn(std::string_view link, ResultFields& fields) {
  journal.append("resolve throwing " + QString::fromStdString(std::string(link)));
  fields.setFileName("half-written");
  throw std::runtime_error("regex too complex");
}

const ServiceResolvers standIns{&kuaichuanStandIn, &netdiskStandIn};

StandInWindow windowWithLinks(bool kuaichuan, bool netdisk) {
  StandInWindow window;
  window.boxes[Box::kuaichuanLink] = "http://127.0.0.1/k";
  window.boxes[Box::netdiskLink] = "http://127.0.0.1/n";
  window.kuaichuan = kuaichuan;
  window.netdisk = netdisk;
  return window;
}

QStringList lines(std::initializer_list<const char*> items) {
  QStringList list;
  for (const char* item : items)
    list.append(QString::fromUtf8(item));
  return list;
}

}  // namespace

class HandlersTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { journal.clear(); }

  void parseRunsTheSelectedServices_data() {
    QTest::addColumn<bool>("kuaichuan");
    QTest::addColumn<bool>("netdisk");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("kuaichuan") << true << false
                               << lines({"get kuaichuanLink", "resolve k http://127.0.0.1/k",
                                         "set fileName=k-name", "set extension=k-ext",
                                         "set sizeText=k-size", "set md5=k-md5",
                                         "set downloadAddress=k-address"});
    QTest::newRow("netdisk") << false << true
                             << lines({"get netdiskLink", "resolve n http://127.0.0.1/n",
                                       "set fileName=n-name", "set extension=n-ext",
                                       "set sizeText=n-size", "set md5=n-md5",
                                       "set downloadAddress=n-address"});
    QTest::newRow("both, kuaichuan first")
        << true << true
        << lines({"get kuaichuanLink", "resolve k http://127.0.0.1/k", "set fileName=k-name",
                  "set extension=k-ext", "set sizeText=k-size", "set md5=k-md5",
                  "set downloadAddress=k-address", "get netdiskLink",
                  "resolve n http://127.0.0.1/n", "set fileName=n-name", "set extension=n-ext",
                  "set sizeText=n-size", "set md5=n-md5", "set downloadAddress=n-address"});
    QTest::newRow("neither reads or writes nothing") << false << false << lines({});
  }
  void parseRunsTheSelectedServices() {
    QFETCH(bool, kuaichuan);
    QFETCH(bool, netdisk);
    QFETCH(QStringList, expected);
    StandInWindow window = windowWithLinks(kuaichuan, netdisk);
    journal.clear();

    onParseClicked(window, standIns);

    QCOMPARE(journal, expected);
  }

  void parseHandsOnAnEmptyLink() {
    StandInWindow window = windowWithLinks(true, false);
    window.boxes[Box::kuaichuanLink].clear();
    journal.clear();

    onParseClicked(window, standIns);

    QCOMPARE(journal.at(1), QString("resolve k "));
  }

  // A resolver that throws leaves the boxes as a failed fetch would, and the other service
  // still runs.
  void aThrowingResolverCountsAsAFailedPage() {
    StandInWindow window = windowWithLinks(true, false);
    window.boxes[Box::downloadAddress] = "old address";
    window.boxes[Box::fileName] = "old name";
    window.boxes[Box::extension] = "old ext";
    window.boxes[Box::md5] = "old md5";

    onParseClicked(window, {&throwingStandIn, &netdiskStandIn});

    QCOMPARE(bytes(window.boxes[Box::downloadAddress]), QByteArray());
    QCOMPARE(bytes(window.boxes[Box::fileName]), QByteArray());
    QCOMPARE(bytes(window.boxes[Box::extension]), QByteArray());
    QCOMPARE(bytes(window.boxes[Box::sizeText]), QByteArray("0B"));
    QCOMPARE(bytes(window.boxes[Box::md5]), QByteArray());

    window.netdisk = true;
    onParseClicked(window, {&throwingStandIn, &netdiskStandIn});
    QCOMPARE(bytes(window.boxes[Box::downloadAddress]), QByteArray("n-address"));
    QCOMPARE(bytes(window.boxes[Box::fileName]), QByteArray("n-name"));
  }

  void windowCreatedSelectsKuaichuanOnly_data() {
    QTest::addColumn<bool>("netdiskBefore");
    QTest::newRow("as defined") << false;
    QTest::newRow("netdisk already selected stays so") << true;
  }
  void windowCreatedSelectsKuaichuanOnly() {
    QFETCH(bool, netdiskBefore);
    StandInWindow window;
    window.netdisk = netdiskBefore;

    onWindowCreated(window);

    QVERIFY(window.kuaichuan);
    QCOMPARE(window.netdisk, netdiskBefore);
  }

  void leftPressCopiesTheWholeText_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("address") << QByteArray("http://127.0.0.1:8080/file?a=1&b=2");
    QTest::newRow("spaces kept") << QByteArray("  typed by hand ");
    QTest::newRow("two-byte characters") << QByteArray("\xCF\xC2\xD4\xD8 x");
  }
  void leftPressCopiesTheWholeText() {
    QFETCH(QByteArray, text);
    StandInWindow window;
    window.boxes[Box::downloadAddress] = text.toStdString();

    onAddressBoxLeftPress(window, 3, 4, 1);

    QCOMPARE(window.clipboardWrites, 1);
    QCOMPARE(bytes(window.clipboard.value()), text);
  }

  void leftPressOnAnEmptyBoxCopiesNothing() {
    StandInWindow window;
    onAddressBoxLeftPress(window, 0, 0, 0);
    QCOMPARE(window.clipboardWrites, 0);
    QCOMPARE(journal, lines({"get downloadAddress"}));
  }
};

QTEST_APPLESS_MAIN(HandlersTest)
#include "handlers_test.moc"
