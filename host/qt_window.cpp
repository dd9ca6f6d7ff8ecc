#include "host/qt_window.h"

#include <algorithm>

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QFrame>
#include <QGuiApplication>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

#include "framework/runtime/keys.h"
#include "framework/runtime/log.h"
#include "framework/runtime/window.h"
#include "host/icon_library.h"
#include "host/qt_key_codes.h"
#include "host/qt_list_model.h"

namespace slownik::host {
namespace {

using rt::ControlKind;

QString qs(const std::string& s) { return QString::fromStdString(s); }

// Controls that a prompt before them introduces on the same form row.
bool isField(ControlKind k) {
  return k == ControlKind::Entry || k == ControlKind::Spin || k == ControlKind::Text || k == ControlKind::Combo ||
         k == ControlKind::DropList || k == ControlKind::String;
}

bool isContainer(ControlKind k) {
  return k == ControlKind::Group || k == ControlKind::Option || k == ControlKind::Panel || k == ControlKind::Box ||
         k == ControlKind::Region;
}

// Kinds whose focus the runtime is told about when the user moves into them.
bool reportsFocus(ControlKind k) {
  return k == ControlKind::Entry || k == ControlKind::Spin || k == ControlKind::Text || k == ControlKind::Combo ||
         k == ControlKind::DropList || k == ControlKind::List;
}

QString buttonText(const rt::Control& c) {
  QString text = qs(c.text);
  if (!c.keyLabel.empty() && !text.isEmpty()) text += QStringLiteral("  [%1]").arg(qs(c.keyLabel));
  else if (!c.keyLabel.empty()) text = qs(c.keyLabel);
  return text;
}

void setTextIfChanged(QLineEdit* e, const QString& t) {
  if (e->text() != t) e->setText(t);
}

}  // namespace

QtWindow::QtWindow(std::shared_ptr<rt::Window> window, QWidget* parent) : QWidget(parent), window_(std::move(window)) {
  setAttribute(Qt::WA_DeleteOnClose, false);
  setWindowTitle(qs(window_->title()));
  setWindowIcon(IconLibrary::instance().icon(window_->icon()));
  controls_ = window_->controls();
  auto* layout = new QVBoxLayout(this);
  build(this, layout, "", true);
  for (const rt::Control& c : controls_)
    if (QWidget* w = widgetFor(c.name)) apply(c, w);
  // Only now do the widgets hold their texts, so the layout knows what it needs.
  setMinimumSize(minimumFromResource().expandedTo(layout->minimumSize()));
  setEnabled(window_->isActive());
  focusControl(window_->focus());
}

std::vector<rt::Control> QtWindow::childrenOf(const std::string& parent) const {
  std::vector<rt::Control> out;
  for (const rt::Control& c : controls_)
    if (c.parent == parent) out.push_back(c);
  return out;
}

QSize QtWindow::minimumFromResource() const {
  const QFontMetrics fm(font());
  return {window_->minWidth() * fm.averageCharWidth() / 4, window_->minHeight() * fm.height() / 8};
}

void QtWindow::build(QWidget* host, QBoxLayout* layout, const std::string& parent, bool isWindow) {
  const std::vector<rt::Control> kids = childrenOf(parent);
  QFormLayout* form = nullptr;
  QHBoxLayout* inlineButtons = nullptr;
  std::vector<QWidget*> bottomButtons;
  for (std::size_t i = 0; i < kids.size(); ++i) {
    const rt::Control& c = kids[i];
    if (c.kind == ControlKind::Button) {
      QWidget* b = makeWidget(c);
      if (isWindow) {
        bottomButtons.push_back(b);
      } else {
        if (!inlineButtons) {
          inlineButtons = new QHBoxLayout;
          layout->addLayout(inlineButtons);
        }
        inlineButtons->addWidget(b);
      }
      continue;
    }
    inlineButtons = nullptr;
    auto addFormRow = [&](const rt::Control& prompt, const rt::Control& fieldControl) {
      if (!form) {
        form = new QFormLayout;
        form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
        layout->addLayout(form);
      }
      auto* label = static_cast<QLabel*>(makeWidget(prompt));
      QWidget* field = makeWidget(fieldControl);
      label->setBuddy(field);
      form->addRow(label, field);
    };
    if (c.kind == ControlKind::Prompt && i + 1 < kids.size() && isField(kids[i + 1].kind)) {
      addFormRow(c, kids[i + 1]);
      ++i;
      continue;
    }
    if (c.kind == ControlKind::Row) {
      // A row of one prompt and its field lines up with the form around it; a row of
      // buttons directly in the window joins the button row at the bottom.
      const std::vector<rt::Control> parts = childrenOf(c.name);
      if (parts.size() == 2 && parts[0].kind == ControlKind::Prompt && isField(parts[1].kind)) {
        addFormRow(parts[0], parts[1]);
        continue;
      }
      const bool allButtons = !parts.empty() && std::all_of(parts.begin(), parts.end(), [](const rt::Control& p) {
        return p.kind == ControlKind::Button;
      });
      if (allButtons && isWindow) {
        for (const rt::Control& p : parts) bottomButtons.push_back(makeWidget(p));
        continue;
      }
    }
    form = nullptr;
    switch (c.kind) {
      case ControlKind::Row: {
        auto* row = new QHBoxLayout;
        for (const rt::Control& part : childrenOf(c.name)) {
          if (isContainer(part.kind) || part.kind == ControlKind::Row) {
            auto* inner = new QWidget;
            auto* innerLayout = new QVBoxLayout(inner);
            innerLayout->setContentsMargins(0, 0, 0, 0);
            build(inner, innerLayout, part.name, false);
            row->addWidget(inner);
          } else {
            row->addWidget(makeWidget(part), part.kind == ControlKind::Prompt ? 0 : 1);
          }
        }
        layout->addLayout(row);
        break;
      }
      case ControlKind::Sheet: {
        auto* tabs = new QTabWidget;
        tabs->setObjectName(qs(c.name));
        widgets_[c.name] = tabs;
        for (const rt::Control& tab : childrenOf(c.name)) {
          auto* page = new QWidget;
          auto* pageLayout = new QVBoxLayout(page);
          build(page, pageLayout, tab.name, false);
          pageLayout->addStretch();
          tabs->addTab(page, qs(tab.text));
          widgets_[tab.name] = page;
        }
        connectInput(c, tabs);
        layout->addWidget(tabs, 1);
        break;
      }
      case ControlKind::Group:
      case ControlKind::Option:
      case ControlKind::Panel:
      case ControlKind::Box:
      case ControlKind::Region: {
        QWidget* box = makeWidget(c);
        auto* inner = new QVBoxLayout(box);
        build(box, inner, c.name, false);
        layout->addWidget(box);
        break;
      }
      case ControlKind::List:
        layout->addWidget(makeWidget(c), 1);
        break;
      default:
        layout->addWidget(makeWidget(c));
        break;
    }
  }
  if (isWindow && !bottomButtons.empty()) {
    auto* row = new QHBoxLayout;
    row->addStretch();
    for (QWidget* b : bottomButtons) row->addWidget(b);
    layout->addLayout(row);
  }
  (void)host;
}

QWidget* QtWindow::makeWidget(const rt::Control& c) {
  QWidget* w = nullptr;
  switch (c.kind) {
    case ControlKind::Prompt:
    case ControlKind::String:
    case ControlKind::Image:
      w = new QLabel;
      break;
    case ControlKind::Button: {
      auto* b = new QPushButton;
      b->setAutoDefault(false);
      b->setDefault(c.isDefault);
      w = b;
      break;
    }
    case ControlKind::Check:
      w = new QCheckBox;
      break;
    case ControlKind::Radio:
      w = new QRadioButton;
      break;
    case ControlKind::Combo: {
      auto* box = new QComboBox;
      box->setEditable(true);
      w = box;
      break;
    }
    case ControlKind::DropList:
      w = new QComboBox;
      break;
    case ControlKind::Text:
      w = new QPlainTextEdit;
      break;
    case ControlKind::Progress:
      w = new QProgressBar;
      break;
    case ControlKind::List: {
      auto* view = new QTableView;
      auto* model = new QtListModel(window_, c.name, view);
      view->setModel(model);
      view->setSelectionBehavior(QAbstractItemView::SelectRows);
      view->setSelectionMode(QAbstractItemView::SingleSelection);
      view->setEditTriggers(QAbstractItemView::NoEditTriggers);
      view->setContextMenuPolicy(Qt::CustomContextMenu);
      view->verticalHeader()->hide();
      view->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
      view->horizontalHeader()->setHighlightSections(false);
      view->horizontalHeader()->setStretchLastSection(true);
      lists_[c.name] = model;
      w = view;
      break;
    }
    case ControlKind::Line: {
      auto* line = new QFrame;
      line->setFrameShape(QFrame::HLine);
      line->setFrameShadow(QFrame::Sunken);
      w = line;
      break;
    }
    case ControlKind::Group:
    case ControlKind::Option:
      w = new QGroupBox;
      break;
    case ControlKind::Panel:
    case ControlKind::Box:
    case ControlKind::Region: {
      auto* frame = new QFrame;
      frame->setFrameShape(c.kind == ControlKind::Panel ? QFrame::StyledPanel : QFrame::NoFrame);
      w = frame;
      break;
    }
    default:  // entry, spin and anything typed into
      w = new QLineEdit;
      break;
  }
  w->setObjectName(qs(c.name));
  widgets_[c.name] = w;
  w->installEventFilter(this);
  connectInput(c, w);
  return w;
}

void QtWindow::connectInput(const rt::Control& c, QWidget* w) {
  const std::string name = c.name;
  auto window = window_;
  if (auto* b = qobject_cast<QPushButton*>(w)) {
    connect(b, &QPushButton::clicked, this, [this, name] { report(window_->click(name)); });
  } else if (auto* check = qobject_cast<QCheckBox*>(w)) {
    connect(check, &QCheckBox::clicked, this, [this, name] { report(window_->click(name)); });
  } else if (auto* radio = qobject_cast<QRadioButton*>(w)) {
    connect(radio, &QRadioButton::clicked, this, [this, name] { report(window_->click(name)); });
  } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
    connect(edit, &QLineEdit::editingFinished, this, [this, name, edit] {
      if (!applying_ && edit->text().toStdString() != window_->value(name))
        report(window_->type(name, edit->text().toStdString()));
    });
  } else if (auto* box = qobject_cast<QComboBox*>(w)) {
    connect(box, &QComboBox::activated, this, [this, name, box] {
      if (!applying_) report(window_->choose(name, box->currentText().toStdString()));
    });
  } else if (auto* tabs = qobject_cast<QTabWidget*>(w)) {
    connect(tabs, &QTabWidget::currentChanged, this, [this, c, tabs](int index) {
      if (applying_ || index < 0) return;
      std::vector<rt::Control> pages = childrenOf(c.name);
      if (index < int(pages.size())) report(window_->click(pages[index].name));
      (void)tabs;
    });
  } else if (auto* view = qobject_cast<QTableView*>(w)) {
    connect(view, &QTableView::clicked, this, [this, name](const QModelIndex& i) {
      report(window_->clickRow(name, i.row() + 1));
    });
    connect(view, &QTableView::doubleClicked, this, [this, name](const QModelIndex& i) {
      report(window_->clickRow(name, i.row() + 1, true));
    });
    connect(view, &QWidget::customContextMenuRequested, this, [this, name, view](const QPoint& p) {
      const int row = view->indexAt(p).row();
      if (row >= 0) report(window_->rightClickRow(name, row + 1));
    });
    connect(view->horizontalHeader(), &QHeaderView::sectionClicked, this, [this, name](int column) {
      const auto mods = QGuiApplication::keyboardModifiers();
      report(window_->clickHeader(name, column + 1,
                                  runtimeMouseCode(mods & Qt::ShiftModifier, mods & Qt::ControlModifier)));
    });
  }
  (void)window;
}

void QtWindow::apply(const rt::Control& c, QWidget* w) {
  if (c.kind == ControlKind::Tab) {
    // A tab page is shown by its sheet: forcing it visible would draw it over the current one.
    auto* tabs = qobject_cast<QTabWidget*>(widgetFor(c.parent));
    const int index = tabs ? tabs->indexOf(w) : -1;
    if (index >= 0) {
      tabs->setTabText(index, qs(c.text));
      tabs->setTabVisible(index, !c.hidden);
      tabs->setTabEnabled(index, c.enabled);
    }
    return;
  }
  applying_ = true;
  const QString text = qs(c.text);
  const QString value = qs(c.value);
  switch (c.kind) {
    case ControlKind::Prompt:
      static_cast<QLabel*>(w)->setText(text);
      break;
    case ControlKind::String:
      static_cast<QLabel*>(w)->setText(text.isEmpty() ? value : text);
      break;
    case ControlKind::Image: {
      QIcon icon = IconLibrary::instance().icon(c.icon.empty() ? c.value : c.icon);
      static_cast<QLabel*>(w)->setPixmap(icon.pixmap(48, 48));
      break;
    }
    case ControlKind::Button: {
      auto* b = static_cast<QPushButton*>(w);
      b->setText(buttonText(c));
      b->setIcon(IconLibrary::instance().icon(c.icon));
      break;
    }
    case ControlKind::Check: {
      auto* check = static_cast<QCheckBox*>(w);
      check->setText(text);
      check->setChecked(c.value == c.trueValue);
      break;
    }
    case ControlKind::Radio: {
      auto* radio = static_cast<QRadioButton*>(w);
      radio->setText(text);
      radio->setChecked(!c.parent.empty() && window_->value(c.parent) == c.value);
      break;
    }
    case ControlKind::Combo:
    case ControlKind::DropList: {
      auto* box = static_cast<QComboBox*>(w);
      QStringList items;
      for (const std::string& item : c.items) items << qs(item);
      QStringList shown;
      for (int i = 0; i < box->count(); ++i) shown << box->itemText(i);
      if (shown != items) {
        box->clear();
        box->addItems(items);
      }
      const int at = box->findText(value);
      if (at >= 0) box->setCurrentIndex(at);
      else if (box->isEditable()) box->setEditText(value);
      break;
    }
    case ControlKind::Text: {
      auto* edit = static_cast<QPlainTextEdit*>(w);
      if (edit->toPlainText() != value) edit->setPlainText(value);
      edit->setReadOnly(c.readOnly);
      break;
    }
    case ControlKind::Progress:
      static_cast<QProgressBar*>(w)->setValue(value.toInt());
      break;
    case ControlKind::List: {
      auto* view = static_cast<QTableView*>(w);
      lists_[c.name]->refresh();
      const QFontMetrics fm(font());
      for (int col = 0; col < lists_[c.name]->columnCount(); ++col) {
        const int du = lists_[c.name]->columnWidth(col);
        view->setColumnHidden(col, du == 0);
        if (du > 0) view->setColumnWidth(col, du * fm.averageCharWidth() / 4);
      }
      if (c.selection > 0) view->selectRow(c.selection - 1);
      else view->clearSelection();
      break;
    }
    case ControlKind::Group:
    case ControlKind::Option:
      static_cast<QGroupBox*>(w)->setTitle(text);
      break;
    default:
      if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        setTextIfChanged(edit, value);
        edit->setReadOnly(c.readOnly);
      }
      break;
  }
  w->setEnabled(c.enabled);
  w->setVisible(!c.hidden);
  w->setToolTip(qs(c.tip));
  QString style;
  if (QColor fg = runtimeColor(c.fontColor); fg.isValid()) style += "color:" + fg.name() + ";";
  if (QColor bg = runtimeColor(c.backColor); bg.isValid()) style += "background-color:" + bg.name() + ";";
  if (QColor frame = runtimeColor(c.frameColor); frame.isValid()) style += "border:2px solid " + frame.name() + ";";
  if (c.fontWeight >= rt::kBoldWeight) style += "font-weight:bold;";
  if (c.kind != ControlKind::List) w->setStyleSheet(style.isEmpty() ? QString() : style);
  applying_ = false;
}

QWidget* QtWindow::widgetFor(const std::string& control) const {
  auto it = widgets_.find(control);
  return it == widgets_.end() ? nullptr : it->second;
}

void QtWindow::refresh(const std::string& control, rt::Property property) {
  if (control.empty()) {
    if (property == rt::Property::Title) setWindowTitle(qs(window_->title()));
    if (property == rt::Property::Active) setEnabled(window_->isActive());
    return;
  }
  QWidget* w = widgetFor(control);
  auto c = window_->control(control);
  if (!w || !c) return;  // a control made at run time is not drawn until the window is rebuilt
  // A radio shows its option group's value: a change of the group redraws its radios.
  if (c->kind == ControlKind::Option && property == rt::Property::Value)
    for (const rt::Control& r : window_->controls())
      if (r.parent == control)
        if (QWidget* rw = widgetFor(r.name)) apply(r, rw);
  if (c->kind == ControlKind::Sheet && property == rt::Property::Value) {
    applying_ = true;
    static_cast<QTabWidget*>(w)->setCurrentIndex(std::max(0, QString::fromStdString(c->value).toInt() - 1));
    applying_ = false;
    return;
  }
  apply(*c, w);
}

void QtWindow::focusControl(const std::string& control) {
  QWidget* w = widgetFor(control);
  if (!w || w->hasFocus()) return;
  applying_ = true;
  w->setFocus(Qt::OtherFocusReason);
  applying_ = false;
}

void QtWindow::report(const std::string& refused) const {
  if (!refused.empty()) rt::logMessage("okno " + window_->title() + ": " + refused);
}

bool QtWindow::eventFilter(QObject* watched, QEvent* event) {
  auto* w = qobject_cast<QWidget*>(watched);
  if (!w) return false;
  const std::string name = w->objectName().toStdString();
  auto c = window_->control(name);
  if (!c) return false;
  if (event->type() == QEvent::FocusIn && !applying_ && reportsFocus(c->kind) && window_->focus() != name) {
    report(window_->click(name));
    return false;
  }
  if (event->type() != QEvent::KeyPress) return false;
  const int code = runtimeKeyCode(*static_cast<QKeyEvent*>(event));
  if (code == 0) return false;
  namespace key = rt::key;
  bool forward = window_->isAlerted(code) || code == key::Esc || code == key::Tab || code == key::ShiftTab ||
                 (key::base(code) >= key::F1 && key::base(code) <= key::F12) || (code & key::AltMod);
  if (code == key::Enter) forward = c->kind != ControlKind::Text;
  if (c->kind == ControlKind::List)
    forward = forward || code == key::Up || code == key::Down || code == key::PgUp || code == key::PgDn ||
              key::base(code) == key::Home || key::base(code) == key::End || code == key::Ins || code == key::Del;
  for (const rt::Control& other : controls_)
    if (other.key == code) forward = true;
  if (!forward) return false;
  // What was typed counts before the key does (Enter or Tab completes the field).
  if (auto* edit = qobject_cast<QLineEdit*>(w); edit && edit->text().toStdString() != window_->value(name))
    report(window_->type(name, edit->text().toStdString()));
  if (auto* text = qobject_cast<QPlainTextEdit*>(w); text && text->toPlainText().toStdString() != window_->value(name))
    report(window_->type(name, text->toPlainText().toStdString()));
  report(window_->pressKey(code));
  return true;
}

bool QtWindow::canPerform(FrameAction action) const {
  if (!window_->isActive()) return false;
  auto usable = [&](const char* name) {
    auto c = window_->control(name);
    return c && c->enabled && !c->hidden;
  };
  switch (action) {
    case FrameAction::Insert: return usable("?INSERT");
    case FrameAction::Change: return usable("?CHANGE");
    case FrameAction::Delete: return usable("?DELETE");
    case FrameAction::Select: return usable("?SELECT");
    default: return usable("?LIST");
  }
}

void QtWindow::perform(FrameAction action) {
  namespace key = rt::key;
  switch (action) {
    case FrameAction::Insert: report(window_->click("?INSERT")); return;
    case FrameAction::Change: report(window_->click("?CHANGE")); return;
    case FrameAction::Delete: report(window_->click("?DELETE")); return;
    case FrameAction::Select: report(window_->click("?SELECT")); return;
    default: break;
  }
  if (window_->focus() != "?LIST") report(window_->click("?LIST"));
  const int code = action == FrameAction::First      ? key::withCtrl(key::Home)
                   : action == FrameAction::Previous ? key::Up
                   : action == FrameAction::Next     ? key::Down
                                                     : key::withCtrl(key::End);
  report(window_->pressKey(code));
}

}  // namespace slownik::host
