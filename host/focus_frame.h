#pragma once
#include <QColor>
#include <QPointer>
#include <QWidget>

namespace slownik::host {

//! A coloured frame drawn just outside a control (the focus highlighter marks a
//! required field left empty with it). It follows the control as the layout moves it
//! and lets every click through. Owned by the control's parent widget.
class FocusFrame : public QWidget {
 public:
  static constexpr int kWidth = 2;

  explicit FocusFrame(QWidget* target);

  void setColor(const QColor& color);
  QColor color() const { return color_; }
  QWidget* target() const { return target_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void follow();

  QPointer<QWidget> target_;
  QColor color_;
};

}  // namespace slownik::host
