// MainWindow: the program's only window, with the service choice, the two link boxes, the
// parse button and the five output boxes, and the keyboard handling they need.
#pragma once

#include <QWidget>

#include "window/handlers.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace quorvane {

class MainWindow final : public QWidget, public WindowControls {
  Q_OBJECT

 public:
  // The outer size, frame and title bar included.
  static constexpr int kOuterWidth = 380;
  static constexpr int kOuterHeight = 308;

  // Builds the window and its controls hidden, centred on the primary screen, and runs
  // onWindowCreated.
  MainWindow();

  // Shows and activates the window with the keyboard focus in the Kuaichuan link box.
  void open();

  Text getText(Box box) const override;
  void setText(Box box, const Text& text) override;
  bool isSelected(Choice choice) const override;
  void setSelected(Choice choice) override;
  bool setClipboardText(const Text& text) override;

  QLineEdit* editBox(Box box) const;
  QRadioButton* radioButton(Choice choice) const;

  // The controls, in the order the window lists them; their object names are these names.
  QLabel* 标签5;
  QLabel* 标签4;
  QLabel* 标签3;
  QLabel* 标签2;
  QLineEdit* 文件大小编辑框;
  QLineEdit* 文件md5编辑框;
  QLineEdit* 文件名称编辑框;
  QLineEdit* 文件扩展名编辑框;
  QLabel* 标签1;
  QRadioButton* 单选框2;
  QRadioButton* 单选框1;
  QLineEdit* 百度下载编辑框;
  QLineEdit* 文件下载地址编辑框;
  QPushButton* 按钮1;
  QLineEdit* 迅雷下载编辑框;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void moveEvent(QMoveEvent* event) override;

 private:
  void fitOuterSize();
};

}  // namespace quorvane
