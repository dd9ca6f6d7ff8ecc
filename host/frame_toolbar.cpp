#include "host/frame_toolbar.h"

#include <QAction>

#include "host/icon_library.h"

namespace slownik::host {
namespace {

struct ActionText {
  FrameAction action;
  const char* icon;
  const char* text;
  const char* tip;
};

const ActionText kActions[] = {
    {FrameAction::Insert, "dodaj2", "Dodaj", "Dodaj nową pozycję (Ins)"},
    {FrameAction::Change, "Popraw2", "Popraw", "Popraw wskazaną pozycję (F2)"},
    {FrameAction::Delete, "Usun2", "Usuń", "Usuń wskazaną pozycję (Del)"},
    {FrameAction::Select, "wybierz", "Wybierz", "Wybierz wskazaną pozycję (Enter)"},
    {FrameAction::First, "pierwszy", "Pierwsza", "Pierwsza pozycja listy (Ctrl+Home)"},
    {FrameAction::Previous, "poprzedni", "Poprzednia", "Poprzednia pozycja (strzałka w górę)"},
    {FrameAction::Next, "nastepny", "Następna", "Następna pozycja (strzałka w dół)"},
    {FrameAction::Last, "ostatni", "Ostatnia", "Ostatnia pozycja listy (Ctrl+End)"},
};

}  // namespace

FrameToolBar::FrameToolBar(QWidget* parent) : QToolBar(tr("Pasek narzędzi okna"), parent) {
  setObjectName("frameToolBar");
  for (const ActionText& a : kActions) {
    if (a.action == FrameAction::First) addSeparator();
    QAction* act = addAction(IconLibrary::instance().icon(a.icon), tr(a.text));
    act->setToolTip(tr(a.tip));
    act->setStatusTip(tr(a.tip));
    const FrameAction which = a.action;
    connect(act, &QAction::triggered, this, [this, which] {
      if (FrameActionTarget* t = target(); t && t->canPerform(which)) t->perform(which);
    });
    actions_[static_cast<int>(a.action)] = act;
  }
  refresh();
}

FrameActionTarget* FrameToolBar::target() const { return dynamic_cast<FrameActionTarget*>(window_.data()); }

void FrameToolBar::setTarget(QWidget* window) {
  window_ = window;
  refresh();
}

void FrameToolBar::refresh() {
  FrameActionTarget* t = target();
  for (int i = 0; i < kFrameActionCount; ++i) actions_[i]->setEnabled(t && t->canPerform(static_cast<FrameAction>(i)));
}

}  // namespace slownik::host
