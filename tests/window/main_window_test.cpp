// MainWindow on the offscreen platform, driven through its window handle as a user would
// drive it: the controls as defined, the start-up state, the keyboard and the clipboard.
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScreen>
#include <QSignalSpy>
#include <QTimer>
#include <QWindow>
#include <QtTest>
#include <clocale>
#include <memory>
#include <string>

#include "platform/code_page.h"
#include "support/loopback_server.h"
#include "window/main_window.h"
#include "window/sample_links.h"

using namespace quorvane;

namespace {

// A Kuaichuan file page: the four values in the page's markup.
constexpr std::string_view kKuaichuanPage =
    "<html><body>\n"
    "<a class=\"dl\" file_url=\"http://127.0.0.1:9/dl/k.txt?key=1&amp;t=2\" "
    "file_size=16777217 file_name=\"%E4%B8%8B%E8%BD%BD.txt\">download</a>\n"
    "<input type=\"hidden\" id=\"first_file_size\" value='16777217'>\n"
    "<input type=\"hidden\" id=\"key\" value='9e107d9d372bb6826bd81d3542a419d6'>\n"
    "</body></html>\n";

// A Netdisk share page: the file's record as escaped JSON inside a script.
constexpr std::string_view kNetdiskPage =
    "<script>shareRecord.load(\"{\\\"file_list\\\":[{\\\"size\\\":\\\"16777217\\\","
    "\\\"md5\\\":\\\"e4d909c290d0fb1ca068ffaddf22cbd0\\\","
    "\\\"dlink\\\":\\\"http:\\\\/\\\\/127.0.0.1:9\\\\/file\\\\/abc"
    "?fid=7&filename=%E6%96%87%E4%BB%B6.rar\\\"}]}\");</script>\n";

QString fromView(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

  std::unique_ptr<MainWindow> window;
  std::unique_ptr<LoopbackServer> server;
  std::string savedCodePage;

  QWindow* handle() const { return window->windowHandle(); }

  QWidget* control(const char* name) const {
    return window->findChild<QWidget*>(QString::fromUtf8(name));
  }

  // A point inside `widget`, in the window's coordinates.
  QPoint inside(const QWidget* widget, QPoint at = {10, 12}) const {
    return widget->mapTo(window.get(), at);
  }

  void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(handle(), key, modifiers);
  }

  void type(const char* text) {
    for (; *text != '\0'; ++text)
      QTest::keyClick(handle(), *text);
  }

  void focusByTab(QWidget* target) {
    for (int i = 0; i < 10 && QApplication::focusWidget() != target; ++i)
      press(Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), target);
  }

  // Links that resolve nothing without touching the network, and stale outputs that any
  // parse would replace.
  void prepareHarmlessParse() {
    window->迅雷下载编辑框->clear();
    window->百度下载编辑框->clear();
    for (QLineEdit* box :
         {window->文件下载地址编辑框, window->文件名称编辑框, window->文件扩展名编辑框,
          window->文件大小编辑框, window->文件md5编辑框}) {
      box->setText(QStringLiteral("stale"));
    }
  }

  QStringList outputs() const {
    return {window->文件下载地址编辑框->text(), window->文件名称编辑框->text(),
            window->文件扩展名编辑框->text(), window->文件大小编辑框->text(),
            window->文件md5编辑框->text()};
  }

 private slots:
  void initTestCase() {
    std::setlocale(LC_NUMERIC, "C");
    savedCodePage = localCodePageName();
    QVERIFY(setLocalCodePage("936"));
    server = std::make_unique<LoopbackServer>();
    server->put("kuaichuan.html", kKuaichuanPage);
    server->put("netdisk.html", kNetdiskPage);
  }
  void cleanupTestCase() {
    server.reset();
    setLocalCodePage(savedCodePage);
  }

  void setLink(Box box, const std::string& link) {
    window->editBox(box)->setText(QString::fromStdString(link));
  }

  void init() {
    window = std::make_unique<MainWindow>();
    window->open();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
  }
  void cleanup() { window.reset(); }

  void controlsAreAsDefined_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QRect>("place");
    QTest::addColumn<QString>("text");
    const QString kuaichuan = fromView(kSampleKuaichuanLink);
    const QString netdisk = fromView(kSampleNetdiskLink);
    struct Row {
      const char* name;
      const char* kind;
      QRect place;
      QString text;
    };
    const Row rows[] = {
        {"标签5", "QLabel", {16, 184, 72, 24}, QStringLiteral("文件MD5值：")},
        {"标签4", "QLabel", {21, 152, 72, 24}, QStringLiteral("文件大小：")},
        {"标签3", "QLabel", {16, 120, 72, 24}, QStringLiteral("文件扩展名：")},
        {"标签2", "QLabel", {16, 88, 72, 24}, QStringLiteral("文件名称：")},
        {"文件大小编辑框", "QLineEdit", {104, 152, 232, 24}, {}},
        {"文件md5编辑框", "QLineEdit", {104, 184, 232, 24}, {}},
        {"文件名称编辑框", "QLineEdit", {104, 88, 232, 24}, {}},
        {"文件扩展名编辑框", "QLineEdit", {104, 120, 232, 24}, {}},
        {"标签1", "QLabel", {24, 216, 64, 24}, QStringLiteral("下载地址：")},
        {"单选框2", "QRadioButton", {17, 55, 80, 24}, QStringLiteral("百度网盘")},
        {"单选框1", "QRadioButton", {16, 16, 80, 24}, QStringLiteral("迅雷快传")},
        {"百度下载编辑框", "QLineEdit", {104, 56, 232, 24}, netdisk},
        {"文件下载地址编辑框", "QLineEdit", {104, 216, 232, 24}, {}},
        {"按钮1", "QPushButton", {144, 248, 64, 24}, QStringLiteral("解析")},
        {"迅雷下载编辑框", "QLineEdit", {104, 16, 232, 24}, kuaichuan},
    };
    for (const Row& row : rows) {
      QTest::newRow(row.name) << QString::fromUtf8(row.name) << QString::fromUtf8(row.kind)
                              << row.place << row.text;
    }
  }
  void controlsAreAsDefined() {
    QFETCH(QString, name);
    QFETCH(QString, kind);
    QFETCH(QRect, place);
    QFETCH(QString, text);
    const QList<QWidget*> found = window->findChildren<QWidget*>(name);
    QCOMPARE(found.size(), 1);
    QWidget* widget = found.first();
    QVERIFY(widget->inherits(kind.toLatin1()));
    QCOMPARE(widget->geometry(), place);
    QVERIFY(widget->isVisible());
    QVERIFY(widget->isEnabled());
    QCOMPARE(widget->font(), QApplication::font());
    if (auto* label = qobject_cast<QLabel*>(widget)) {
      QCOMPARE(label->text(), text);
      QCOMPARE(label->alignment(), Qt::AlignLeft | Qt::AlignVCenter);
      QCOMPARE(label->focusPolicy(), Qt::NoFocus);
      QCOMPARE(label->frameShape(), QFrame::NoFrame);
    } else if (auto* box = qobject_cast<QLineEdit*>(widget)) {
      QCOMPARE(box->text(), text);
      QVERIFY(!box->isReadOnly());
      QVERIFY(box->hasFrame());
      QCOMPARE(box->echoMode(), QLineEdit::Normal);
    } else {
      QCOMPARE(static_cast<QAbstractButton*>(widget)->text(), text);
    }
  }

  void windowIsAsDefined() {
    QCOMPARE(window->windowTitle(), QStringLiteral(" Quorvane 1.0"));
    // The outer size is fixed; the client area is what the frame leaves of it.
    QCOMPARE(window->frameGeometry().size(), QSize(380, 308));
    QCOMPARE(window->minimumSize(), window->size());
    QCOMPARE(window->maximumSize(), window->size());
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QCOMPARE(window->frameGeometry().topLeft(),
             screen.topLeft() + QPoint((screen.width() - 380) / 2, (screen.height() - 308) / 2));

    const Qt::WindowFlags flags = window->windowFlags();
    QCOMPARE(window->windowType(), Qt::Window);
    QVERIFY(flags.testFlag(Qt::WindowTitleHint));
    QVERIFY(flags.testFlag(Qt::WindowSystemMenuHint));
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(!window->windowIcon().availableSizes().isEmpty());
    QCOMPARE(window->backgroundRole(), QPalette::Button);
    QVERIFY(window->autoFillBackground());
  }

  void opensWithKuaichuanSelectedAndFocused() {
    QVERIFY(window->单选框1->isChecked());
    QVERIFY(!window->单选框2->isChecked());
    QCOMPARE(QApplication::focusWidget(), window->迅雷下载编辑框);
    QCOMPARE(QApplication::activeWindow(), window.get());
  }

  void sampleLinksHaveTheirForms() {
    QCOMPARE(kSampleKuaichuanLink.size(), std::size_t{627});
    QCOMPARE(kSampleNetdiskLink.size(), std::size_t{60});

    // Shown whole, and read back byte for byte.
    QCOMPARE(window->getText(Box::kuaichuanLink), std::string(kSampleKuaichuanLink));
    QCOMPARE(window->getText(Box::netdiskLink), std::string(kSampleNetdiskLink));

    const QString link = fromView(kSampleKuaichuanLink);
    const QRegularExpressionMatch address =
        QRegularExpression(
            QStringLiteral("^http://[a-z0-9.-]+(:\\d+)?/((%[0-9A-F]{2}|[A-Za-z0-9._-])+)\\?(.*)$"))
            .match(link);
    QVERIFY(address.hasMatch());
    QStringList keys;
    QString key, authkey;
    for (const QString& pair : address.captured(4).split(u'&')) {
      const QString name = pair.section(u'=', 0, 0);
      keys << name;
      if (name == u"key")
        key = pair.section(u'=', 1);
      if (name == u"authkey")
        authkey = pair.section(u'=', 1);
    }
    QCOMPARE(keys, QStringList({"key", "file_url", "file_type", "authkey", "exp_time", "from_uid",
                                "task_id", "get_uid", "f", "reduce_cdn", "fid", "mid", "threshold",
                                "tid", "srcid", "verno"}));
    QVERIFY(QRegularExpression(QStringLiteral("^[0-9a-f]{32}$")).match(key).hasMatch());
    QVERIFY(QRegularExpression(QStringLiteral("^[0-9a-f]{64}$")).match(authkey).hasMatch());

    QVERIFY(QRegularExpression(QStringLiteral("^http://pan\\.baidu\\.com/share/link"
                                              "\\?shareid=\\d+&uk=\\d+$"))
                .match(fromView(kSampleNetdiskLink))
                .hasMatch());
  }

  void tabGoesRoundTheRing_data() {
    QTest::addColumn<bool>("backwards");
    QTest::newRow("Tab") << false;
    QTest::newRow("Shift+Tab") << true;
  }
  void tabGoesRoundTheRing() {
    QFETCH(bool, backwards);
    QStringList ring = {"按钮1",          "文件下载地址编辑框", "百度下载编辑框", "单选框1",
                        "单选框2",        "文件扩展名编辑框",   "文件名称编辑框", "文件md5编辑框",
                        "文件大小编辑框", "迅雷下载编辑框"};
    if (backwards) {
      std::reverse(ring.begin(), ring.end() - 1);
    }
    QStringList visited;
    for (int i = 0; i < ring.size(); ++i) {
      press(Qt::Key_Tab, backwards ? Qt::ShiftModifier : Qt::NoModifier);
      visited << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(visited, ring);
    // Passing over the radio buttons leaves the selection alone.
    QVERIFY(window->单选框1->isChecked());
    QVERIFY(!window->单选框2->isChecked());
  }

  void escapeClosesFromAnyControl_data() {
    QTest::addColumn<QString>("name");
    for (const char* name :
         {"迅雷下载编辑框", "按钮1", "文件下载地址编辑框", "单选框1", "单选框2", "文件md5编辑框"}) {
      QTest::newRow(name) << QString::fromUtf8(name);
    }
  }
  void escapeClosesFromAnyControl() {
    QFETCH(QString, name);
    focusByTab(control(name.toUtf8()));
    press(Qt::Key_Escape);
    QVERIFY(!window->isVisible());
  }

  void escapeEndsTheMessageLoop() {
    bool openWhileRunning = false;
    QTimer::singleShot(0, this, [&] {
      openWhileRunning = window->isVisible();
      press(Qt::Key_Escape);
    });
    QTimer::singleShot(10'000, this, [] { QCoreApplication::exit(99); });  // not a hang
    QCOMPARE(QApplication::exec(), 0);
    QVERIFY(openWhileRunning);
    QVERIFY(!window->isVisible());
  }

  void enterPressesNothing_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("key");
    for (const char* name : {"迅雷下载编辑框", "按钮1", "单选框2", "文件名称编辑框"}) {
      QTest::addRow("%s Return", name) << QString::fromUtf8(name) << int(Qt::Key_Return);
      QTest::addRow("%s Enter", name) << QString::fromUtf8(name) << int(Qt::Key_Enter);
    }
  }
  void enterPressesNothing() {
    QFETCH(QString, name);
    QFETCH(int, key);
    prepareHarmlessParse();
    QWidget* target = control(name.toUtf8());
    focusByTab(target);
    const QStringList before = outputs();

    press(Qt::Key(key));

    QCOMPARE(outputs(), before);
    QCOMPARE(QApplication::focusWidget(), target);
    QVERIFY(window->isVisible());
    QVERIFY(window->单选框1->isChecked());
    QVERIFY(!window->单选框2->isChecked());
  }

  // With empty links the parse resolves nothing; it shows as the outputs being cleared.
  void spaceOnTheButtonParses() {
    prepareHarmlessParse();
    focusByTab(window->按钮1);
    press(Qt::Key_Space);
    QCOMPARE(outputs(), QStringList({"", "", "", "0B", ""}));
    QCOMPARE(QApplication::focusWidget(), window->按钮1);
  }

  void clickOnTheButtonParses() {
    prepareHarmlessParse();
    QTest::mouseClick(handle(), Qt::LeftButton, Qt::NoModifier, inside(window->按钮1));
    QCOMPARE(outputs(), QStringList({"", "", "", "0B", ""}));
  }

  void parseWithNeitherSelectedChangesNothing() {
    prepareHarmlessParse();
    window->单选框1->setChecked(false);
    window->按钮1->click();
    QCOMPARE(outputs(), QStringList({"stale", "stale", "stale", "stale", "stale"}));
  }

  void kuaichuanParseFillsAllFiveBoxes() {
    setLink(Box::kuaichuanLink, server->url("/kuaichuan.html"));
    setLink(Box::netdiskLink, server->url("/netdisk.html"));
    server->clearRequests();

    QTest::mouseClick(handle(), Qt::LeftButton, Qt::NoModifier, inside(window->按钮1));

    QCOMPARE(outputs(),
             QStringList({"http://127.0.0.1:9/dl/k.txt?key=1&amp;t=2", "下载.txt",
                          "文本文档   (txt)", "16.00MB", "9e107d9d372bb6826bd81d3542a419d6"}));
    // Only the selected service's link was fetched.
    const std::vector<std::string> requests = server->requests();
    QCOMPARE(requests.size(), std::size_t{1});
    QVERIFY(requests[0].starts_with("GET /kuaichuan.html "));
  }

  void netdiskParseFillsAllFiveBoxes() {
    setLink(Box::kuaichuanLink, server->url("/kuaichuan.html"));
    setLink(Box::netdiskLink, server->url("/netdisk.html"));
    QTest::mouseClick(handle(), Qt::LeftButton, Qt::NoModifier, inside(window->单选框2, {8, 12}));
    server->clearRequests();

    focusByTab(window->按钮1);
    press(Qt::Key_Space);

    QCOMPARE(outputs(),
             QStringList({"http://127.0.0.1:9/file/abc?fid=7&filename=%E6%96%87%E4%BB%B6.rar",
                          "文件.rar", "winrar压缩包文件   (rar)", "16MB",
                          "e4d909c290d0fb1ca068ffaddf22cbd0"}));
    const std::vector<std::string> requests = server->requests();
    QCOMPARE(requests.size(), std::size_t{1});
    QVERIFY(requests[0].starts_with("GET /netdisk.html "));
  }

  // With both selected (only setSelected does that) both run, Kuaichuan first, and the
  // boxes end with the Netdisk results.
  void bothSelectedRunBothInOrder() {
    setLink(Box::kuaichuanLink, server->url("/kuaichuan.html"));
    setLink(Box::netdiskLink, server->url("/netdisk.html"));
    window->setSelected(Choice::netdisk);
    server->clearRequests();

    window->按钮1->click();

    const std::vector<std::string> requests = server->requests();
    QCOMPARE(requests.size(), std::size_t{2});
    QVERIFY(requests[0].starts_with("GET /kuaichuan.html "));
    QVERIFY(requests[1].starts_with("GET /netdisk.html "));
    QCOMPARE(window->文件名称编辑框->text(), QStringLiteral("文件.rar"));
    QCOMPARE(window->文件大小编辑框->text(), QStringLiteral("16MB"));
  }

  void neitherSelectedFetchesNothing() {
    setLink(Box::kuaichuanLink, server->url("/kuaichuan.html"));
    setLink(Box::netdiskLink, server->url("/netdisk.html"));
    window->单选框1->setChecked(false);
    server->clearRequests();
    window->按钮1->click();
    QVERIFY(server->requests().empty());
    QCOMPARE(outputs(), QStringList({"", "", "", "", ""}));
  }

  void failedFetchAfterAGoodOneClearsTheBoxes_data() {
    QTest::addColumn<bool>("netdisk");
    QTest::addColumn<QString>("failing");
    QTest::newRow("kuaichuan, connection dropped") << false << "/_hangup";
    QTest::newRow("kuaichuan, error page") << false << "/_status/404?body=gone";
    QTest::newRow("netdisk, connection dropped") << true << "/_hangup";
  }
  void failedFetchAfterAGoodOneClearsTheBoxes() {
    QFETCH(bool, netdisk);
    QFETCH(QString, failing);
    const Box link = netdisk ? Box::netdiskLink : Box::kuaichuanLink;
    if (netdisk) {
      window->单选框2->click();
    }
    setLink(link, server->url(netdisk ? "/netdisk.html" : "/kuaichuan.html"));
    window->按钮1->click();
    QVERIFY(!window->文件下载地址编辑框->text().isEmpty());
    QVERIFY(!window->文件md5编辑框->text().isEmpty());

    setLink(link, server->url(failing.toStdString()));
    window->按钮1->click();

    QCOMPARE(outputs(), QStringList({"", "", "", "0B", ""}));
  }

  void arrowKeysSwitchTheService_data() {
    QTest::addColumn<int>("key");
    QTest::newRow("Down") << int(Qt::Key_Down);
    QTest::newRow("Up") << int(Qt::Key_Up);
    QTest::newRow("Left") << int(Qt::Key_Left);
    QTest::newRow("Right") << int(Qt::Key_Right);
  }
  void arrowKeysSwitchTheService() {
    QFETCH(int, key);
    focusByTab(window->单选框1);

    press(Qt::Key(key));
    QCOMPARE(QApplication::focusWidget(), window->单选框2);
    QVERIFY(window->单选框2->isChecked());
    QVERIFY(!window->单选框1->isChecked());

    press(Qt::Key(key));
    QCOMPARE(QApplication::focusWidget(), window->单选框1);
    QVERIFY(window->单选框1->isChecked());
    QVERIFY(!window->单选框2->isChecked());
  }

  void clickAndSpaceSelectOneService() {
    QRadioButton* kuaichuan = window->单选框1;
    QRadioButton* netdisk = window->单选框2;
    QTest::mouseClick(handle(), Qt::LeftButton, Qt::NoModifier, inside(netdisk, {8, 12}));
    QVERIFY(netdisk->isChecked());
    QVERIFY(!kuaichuan->isChecked());
    QCOMPARE(QApplication::focusWidget(), netdisk);

    // Clicking the selected button keeps it selected.
    QTest::mouseClick(handle(), Qt::LeftButton, Qt::NoModifier, inside(netdisk, {8, 12}));
    QVERIFY(netdisk->isChecked());
    QVERIFY(!kuaichuan->isChecked());

    focusByTab(kuaichuan);
    QVERIFY(!kuaichuan->isChecked());  // the focus alone selects nothing
    press(Qt::Key_Space);
    QVERIFY(kuaichuan->isChecked());
    QVERIFY(!netdisk->isChecked());
  }

  void setSelectedKeepsTheOtherSelected() {
    window->setSelected(Choice::netdisk);
    QVERIFY(window->isSelected(Choice::kuaichuan));
    QVERIFY(window->isSelected(Choice::netdisk));
    // A click still makes the choice exclusive again.
    QTest::mouseClick(handle(), Qt::LeftButton, Qt::NoModifier, inside(window->单选框1, {8, 12}));
    QVERIFY(window->isSelected(Choice::kuaichuan));
    QVERIFY(!window->isSelected(Choice::netdisk));
  }

  // Texts cross between the boxes and the program in the local code page (936 here).
  void textsCrossInTheLocalCodePage() {
    window->setText(Box::fileName, "\xCF\xC2\xD4\xD8.txt");
    QCOMPARE(window->文件名称编辑框->text(), QStringLiteral("下载.txt"));
    window->文件扩展名编辑框->setText(QStringLiteral("文本文档"));
    QCOMPARE(window->getText(Box::extension), std::string("\xCE\xC4\xB1\xBE\xCE\xC4\xB5\xB5"));
    window->setText(Box::md5, {});
    QCOMPARE(window->文件md5编辑框->text(), QString());
    QCOMPARE(window->getText(Box::md5), std::string());
    // A long text is shown from its start.
    window->setText(Box::downloadAddress, std::string(kSampleKuaichuanLink));
    QCOMPARE(window->文件下载地址编辑框->cursorPosition(), 0);
  }

  void typedTextStaysInAnOutputBox() {
    focusByTab(window->文件名称编辑框);
    type("My Notes");
    QCOMPARE(window->文件名称编辑框->text(), QStringLiteral("My Notes"));
  }

  void leftPressOnAnEmptyAddressBoxKeepsTheClipboard() {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText(QStringLiteral("kept"));
    QSignalSpy changes(clipboard, &QClipboard::dataChanged);

    QTest::mouseClick(handle(), Qt::LeftButton, Qt::NoModifier, inside(window->文件下载地址编辑框));

    QCOMPARE(changes.size(), 0);
    QCOMPARE(clipboard->text(), QStringLiteral("kept"));
    QCOMPARE(QApplication::focusWidget(), window->文件下载地址编辑框);
  }

  void leftPressCopiesTheWholeAddress_data() {
    QTest::addColumn<QByteArray>("codePage");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("copied");
    const QString address = QStringLiteral("http://127.0.0.1:8080/dl/a.zip?k=1&t=2 ");
    QTest::newRow("address, trailing space kept") << QByteArray("936") << address << address;
    QTest::newRow("Chinese in 936")
        << QByteArray("936") << QStringLiteral("下载 a") << QStringLiteral("下载 a");
    // The copy is text in the local code page: what it cannot hold becomes "?".
    QTest::newRow("outside 936") << QByteArray("936") << QStringLiteral("a\uD55C\U0001F600")
                                 << QStringLiteral("a??");
    QTest::newRow("everything in 65001")
        << QByteArray("65001") << QStringLiteral("a\u00e9\U0001F600")
        << QStringLiteral("a\u00e9\U0001F600");
  }
  void leftPressCopiesTheWholeAddress() {
    QFETCH(QByteArray, codePage);
    QFETCH(QString, shown);
    QFETCH(QString, copied);
    QVERIFY(setLocalCodePage(codePage.toStdString()));
    QLineEdit* box = window->文件下载地址编辑框;
    box->setText(shown);
    box->setSelection(1, 2);  // a selection does not narrow the copy
    QClipboard* clipboard = QGuiApplication::clipboard();
    QSignalSpy changes(clipboard, &QClipboard::dataChanged);

    QTest::mouseClick(handle(), Qt::LeftButton, Qt::NoModifier, inside(box, {4, 12}));
    const QString onClipboard = clipboard->text();
    QVERIFY(setLocalCodePage("936"));

    QCOMPARE(changes.size(), 1);
    QCOMPARE(onClipboard, copied);
    // The box took the press: focus, and the caret moved to the pointer.
    QCOMPARE(QApplication::focusWidget(), box);
    QVERIFY(!box->hasSelectedText());
    QCOMPARE(box->cursorPosition(), 0);

    // Every press copies again, even an unchanged text.
    QTest::mouseClick(handle(), Qt::LeftButton, Qt::NoModifier, inside(box, {4, 12}));
    QCOMPARE(changes.size(), 2);
  }

  void doubleClickCopiesOnce() {
    window->文件下载地址编辑框->setText(QStringLiteral("http://127.0.0.1/x y"));
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText(QStringLiteral("before"));
    QSignalSpy changes(clipboard, &QClipboard::dataChanged);

    QTest::mouseDClick(handle(), Qt::LeftButton, Qt::NoModifier,
                       inside(window->文件下载地址编辑框));

    QCOMPARE(changes.size(), 1);
    QCOMPARE(clipboard->text(), QStringLiteral("http://127.0.0.1/x y"));
    // The double click reached the box: it selected a word.
    QVERIFY(window->文件下载地址编辑框->hasSelectedText());
  }

  void rightClickTabAndTypingCopyNothing() {
    QLineEdit* box = window->文件下载地址编辑框;
    box->setText(QStringLiteral("http://127.0.0.1/file"));
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText(QStringLiteral("before"));
    QSignalSpy changes(clipboard, &QClipboard::dataChanged);

    // The box's context menu runs its own loop; close it once it is up.
    bool menuShown = false;
    QTimer::singleShot(0, this, [&] {
      if (QWidget* menu = QApplication::activePopupWidget()) {
        menuShown = true;
        menu->close();
      }
    });
    QTest::mouseClick(handle(), Qt::RightButton, Qt::NoModifier, inside(box));
    QVERIFY(menuShown);
    window->activateWindow();  // the offscreen platform leaves the window inactive after a popup
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    focusByTab(window->按钮1);
    press(Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), box);
    type("typed");
    press(Qt::Key_End);

    QCOMPARE(changes.size(), 0);
    QCOMPARE(clipboard->text(), QStringLiteral("before"));
    QVERIFY(box->text().contains(QStringLiteral("typed")));
  }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
