#include "host/focus_frame.h"

#include <QEvent>
#include <QPainter>

namespace slownik::host {

FocusFrame::FocusFrame(QWidget* target) : QWidget(target->parentWidget()), target_(target) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setAttribute(Qt::WA_NoSystemBackground);
  setFocusPolicy(Qt::NoFocus);
  target->installEventFilter(this);
  hide();
}

void FocusFrame::setColor(const QColor& color) {
  color_ = color;
  follow();
}

void FocusFrame::follow() {
  if (!target_ || !color_.isValid() || !target_->isVisible()) {
    hide();
    return;
  }
  setGeometry(target_->geometry().adjusted(-kWidth, -kWidth, kWidth, kWidth));
  show();
  raise();
  update();
}

bool FocusFrame::eventFilter(QObject* watched, QEvent* event) {
  if (watched == target_) {
    switch (event->type()) {
      case QEvent::Move:
      case QEvent::Resize:
      case QEvent::Show:
      case QEvent::Hide:
        follow();
        break;
      default:
        break;
    }
  }
  return false;
}

void FocusFrame::paintEvent(QPaintEvent*) {
  QPainter p(this);
  QPen pen(color_, kWidth);
  pen.setJoinStyle(Qt::MiterJoin);
  p.setPen(pen);
  p.drawRect(QRectF(rect()).adjusted(kWidth / 2.0, kWidth / 2.0, -kWidth / 2.0, -kWidth / 2.0));
}

}  // namespace slownik::host
