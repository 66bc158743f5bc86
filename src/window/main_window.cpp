#include "window/main_window.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShortcut>
#include <QWindow>
#include <string>

#include "platform/code_page.h"
#include "window/sample_links.h"

namespace quorvane {
namespace {

// Runs one event handler. An exception stops at the handler's edge, so the window keeps
// running whatever a parse runs into; like every other failure, it is not reported.
template <typename Handler>
void runHandler(Handler&& handler) noexcept {
  try {
    handler();
  } catch (...) {
  }
}

// The two service buttons form one group across the window, yet each keeps its own Tab
// stop, which Qt's auto-exclusive radio buttons do not allow. So the pair keeps the
// exclusivity itself: a click or Space selects the button and clears the other (a
// selected button stays selected), and any arrow key moves the focus and the selection
// to the other button.
class ServiceButton final : public QRadioButton {
 public:
  ServiceButton(const QString& text, QWidget* parent) : QRadioButton(text, parent) {
    setAutoExclusive(false);
  }
  void pairWith(ServiceButton* other) { other_ = other; }

 protected:
  void nextCheckState() override {
    setChecked(true);
    if (other_ != nullptr)
      other_->setChecked(false);
  }

  void keyPressEvent(QKeyEvent* event) override {
    switch (event->key()) {
      case Qt::Key_Up:
      case Qt::Key_Down:
      case Qt::Key_Left:
      case Qt::Key_Right:
        if (other_ != nullptr) {
          other_->setFocus(Qt::OtherFocusReason);
          other_->click();
        }
        event->accept();
        return;
      default:
        QRadioButton::keyPressEvent(event);
    }
  }

 private:
  ServiceButton* other_ = nullptr;
};

QLabel* makeLabel(QWidget* parent, const char* name, QRect place, const char* text) {
  auto* label = new QLabel(QString::fromUtf8(text), parent);
  label->setObjectName(QString::fromUtf8(name));
  label->setGeometry(place);
  label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  return label;
}

// One line, scrolling sideways; Qt's own length limit is the only one.
QLineEdit* makeEditBox(QWidget* parent, const char* name, QRect place, std::string_view text) {
  auto* box = new QLineEdit(parent);
  box->setObjectName(QString::fromUtf8(name));
  box->setGeometry(place);
  box->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
  box->setCursorPosition(0);  // show a long text from its start
  return box;
}

ServiceButton* makeServiceButton(QWidget* parent, const char* name, QRect place, const char* text) {
  auto* button = new ServiceButton(QString::fromUtf8(text), parent);
  button->setObjectName(QString::fromUtf8(name));
  button->setGeometry(place);
  return button;
}

int keyStateOf(Qt::KeyboardModifiers modifiers) {
  return (modifiers.testFlag(Qt::ControlModifier) ? 1 : 0) |
         (modifiers.testFlag(Qt::ShiftModifier) ? 2 : 0) |
         (modifiers.testFlag(Qt::AltModifier) ? 4 : 0);
}

}  // namespace

MainWindow::MainWindow()
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
  setWindowTitle(QStringLiteral(" Quorvane 1.0"));
  setWindowIcon(QIcon(QStringLiteral(":/quorvane.png")));
  setAutoFillBackground(true);
  setBackgroundRole(QPalette::Button);

  // The controls, in the window's own order. Everything takes the application font,
  // which is the platform's default GUI font.
  标签5 = makeLabel(this, "标签5", {16, 184, 72, 24}, "文件MD5值：");
  标签4 = makeLabel(this, "标签4", {21, 152, 72, 24}, "文件大小：");
  标签3 = makeLabel(this, "标签3", {16, 120, 72, 24}, "文件扩展名：");
  标签2 = makeLabel(this, "标签2", {16, 88, 72, 24}, "文件名称：");
  文件大小编辑框 = makeEditBox(this, "文件大小编辑框", {104, 152, 232, 24}, {});
  文件md5编辑框 = makeEditBox(this, "文件md5编辑框", {104, 184, 232, 24}, {});
  文件名称编辑框 = makeEditBox(this, "文件名称编辑框", {104, 88, 232, 24}, {});
  文件扩展名编辑框 = makeEditBox(this, "文件扩展名编辑框", {104, 120, 232, 24}, {});
  标签1 = makeLabel(this, "标签1", {24, 216, 64, 24}, "下载地址：");
  auto* netdiskButton = makeServiceButton(this, "单选框2", {17, 55, 80, 24}, "百度网盘");
  auto* kuaichuanButton = makeServiceButton(this, "单选框1", {16, 16, 80, 24}, "迅雷快传");
  单选框2 = netdiskButton;
  单选框1 = kuaichuanButton;
  百度下载编辑框 = makeEditBox(this, "百度下载编辑框", {104, 56, 232, 24}, kSampleNetdiskLink);
  文件下载地址编辑框 = makeEditBox(this, "文件下载地址编辑框", {104, 216, 232, 24}, {});
  按钮1 = new QPushButton(QStringLiteral("解析"), this);
  按钮1->setObjectName(QStringLiteral("按钮1"));
  按钮1->setGeometry(144, 248, 64, 24);
  按钮1->setAutoDefault(false);  // Enter presses nothing
  按钮1->setDefault(false);
  迅雷下载编辑框 = makeEditBox(this, "迅雷下载编辑框", {104, 16, 232, 24}, kSampleKuaichuanLink);

  netdiskButton->pairWith(kuaichuanButton);
  kuaichuanButton->pairWith(netdiskButton);
  单选框1->setChecked(true);

  // The Tab ring: the controls in reverse order of the list above, labels left out.
  QWidget* const ring[] = {迅雷下载编辑框, 按钮1,         文件下载地址编辑框, 百度下载编辑框,
                           单选框1,        单选框2,       文件扩展名编辑框,   文件名称编辑框,
                           文件md5编辑框,  文件大小编辑框};
  for (std::size_t i = 1; i < std::size(ring); ++i) {
    setTabOrder(ring[i - 1], ring[i]);
  }

  // Esc closes the window whichever control has the focus; none of the controls claims it.
  auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  escape->setContext(Qt::WindowShortcut);
  connect(escape, &QShortcut::activated, this, &QWidget::close);

  connect(按钮1, &QPushButton::clicked, this,
          [this] { runHandler([this] { onParseClicked(*this); }); });
  文件下载地址编辑框->installEventFilter(this);

  setFixedSize(kOuterWidth, kOuterHeight);  // until the frame is known: see fitOuterSize
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect whole = screen->geometry();
    move(whole.x() + (whole.width() - kOuterWidth) / 2,
         whole.y() + (whole.height() - kOuterHeight) / 2);
  }

  runHandler([this] { onWindowCreated(*this); });
}

void MainWindow::open() {
  迅雷下载编辑框->setFocus(Qt::OtherFocusReason);
  show();
  raise();
  activateWindow();
}

QLineEdit* MainWindow::editBox(Box box) const {
  switch (box) {
    case Box::kuaichuanLink:
      return 迅雷下载编辑框;
    case Box::netdiskLink:
      return 百度下载编辑框;
    case Box::downloadAddress:
      return 文件下载地址编辑框;
    case Box::fileName:
      return 文件名称编辑框;
    case Box::extension:
      return 文件扩展名编辑框;
    case Box::sizeText:
      return 文件大小编辑框;
    case Box::md5:
      return 文件md5编辑框;
  }
  return nullptr;
}

QRadioButton* MainWindow::radioButton(Choice choice) const {
  return choice == Choice::kuaichuan ? 单选框1 : 单选框2;
}

Text MainWindow::getText(Box box) const {
  const QString shown = editBox(box)->text();
  const std::u16string_view units(reinterpret_cast<const char16_t*>(shown.utf16()),
                                  static_cast<std::size_t>(shown.size()));
  return textFromBytes(utf16ToLocal(units));
}

void MainWindow::setText(Box box, const Text& text) {
  QLineEdit* target = editBox(box);
  // A Text ends at its first NUL.
  target->setText(QString::fromStdU16String(localToUtf16(text.c_str())));
  target->setCursorPosition(0);
}

bool MainWindow::isSelected(Choice choice) const {
  return radioButton(choice)->isChecked();
}

void MainWindow::setSelected(Choice choice) {
  radioButton(choice)->setChecked(true);
}

bool MainWindow::setClipboardText(const Text& text) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (clipboard == nullptr)
    return false;
  clipboard->setText(QString::fromStdU16String(localToUtf16(text.c_str())), QClipboard::Clipboard);
  return true;
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  // The second press of a double click arrives as MouseButtonDblClick and copies nothing.
  if (watched == 文件下载地址编辑框 && event->type() == QEvent::MouseButtonPress) {
    const auto* press = static_cast<QMouseEvent*>(event);
    if (press->button() == Qt::LeftButton) {
      const QPoint at = press->position().toPoint();
      runHandler([&] {
        onAddressBoxLeftPress(*this, static_cast<std::uint16_t>(at.x()),
                              static_cast<std::uint16_t>(at.y()), keyStateOf(press->modifiers()));
      });
    }
  }
  return QWidget::eventFilter(watched, event);  // the box then takes the press as usual
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
  // Enter reaches the window when no control wants it; it presses nothing.
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    event->accept();
    return;
  }
  QWidget::keyPressEvent(event);
}

void MainWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  fitOuterSize();
}

void MainWindow::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  fitOuterSize();
}

// The window's size is its outer size. Where the platform draws a frame, it is known only
// once the window is mapped (and on X11 only after the window manager has framed it, which
// moves the client area), so the client area shrinks to leave 380 x 308 for the whole.
// Without a frame (no window manager, the offscreen platform) the client area is 380 x 308.
void MainWindow::fitOuterSize() {
  const QWindow* handle = windowHandle();
  if (handle == nullptr)
    return;
  const QMargins frame = handle->frameMargins();
  const QSize client(kOuterWidth - frame.left() - frame.right(),
                     kOuterHeight - frame.top() - frame.bottom());
  if (client.isValid() && client != size()) {
    setFixedSize(client);
  }
}

}  // namespace quorvane
