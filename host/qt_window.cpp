#include "host/qt_window.h"

#include <algorithm>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QMdiArea>
#include <QEvent>
#include <QFormLayout>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTimer>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <QSplitter>
#include <QTabWidget>
#include <QToolTip>
#include <QVBoxLayout>

#include "framework/classes/theme_classes.h"
#include "framework/classes/xtooltip_class.h"
#include "framework/runtime/keys.h"
#include "framework/runtime/log.h"
#include "framework/runtime/picture.h"
#include "framework/runtime/window.h"
#include "host/dialog_units.h"
#include "host/flow_layout.h"
#include "host/image_label.h"
#include "host/focus_frame.h"
#include "host/icon_library.h"
#include "host/list_header_view.h"
#include "host/list_view.h"
#include "host/picture_edit.h"
#include "host/qt_key_codes.h"
#include "host/qt_list_model.h"
#include "host/window_hints.h"

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

// A button beside a field ("…", a picture alone) is as small as what it shows.
bool isCompactButton(const rt::Control& c) {
  return c.kind == ControlKind::Button && c.keyLabel.empty() && QString::fromStdString(c.text).remove('&').size() <= 3;
}

// A string shows its value through its picture, as an entry does.
QString shownValue(const rt::Control& c) {
  if (c.picture.empty()) return qs(c.value);
  auto picture = rt::Picture::fromString(c.picture);
  return picture ? qs(picture->format(c.value)).trimmed() : qs(c.value);
}

bool isListMove(int code) {
  namespace key = rt::key;
  const int base = key::base(code);
  return (code & (key::AltMod | key::ShiftMod)) == 0 &&
         (base == key::Up || base == key::Down || base == key::PgUp || base == key::PgDn || base == key::Home ||
          base == key::End);
}

}  // namespace

QtWindow::QtWindow(std::shared_ptr<rt::Window> window, QWidget* parent) : QWidget(parent), window_(std::move(window)) {
  setAttribute(Qt::WA_DeleteOnClose, false);
  setWindowTitle(qs(window_->title()));
  setWindowIcon(IconLibrary::instance().icon(window_->icon()));
  controls_ = window_->controls();
  auto* layout = new QVBoxLayout(this);
  build(layout, "", true);
  for (QWidget* w : findChildren<QWidget*>()) watch(w);
  for (const rt::Control& c : controls_)
    if (QWidget* w = widgetFor(c.name)) apply(c, w);
  // Only now do the widgets hold their texts, so the layout knows what it needs.
  setMinimumSize(minimumFromResource().expandedTo(layout->minimumSize()));
  setEnabled(window_->isActive());
  applyLayout();
  focusControl(window_->focus());
}

QtWindow::~QtWindow() = default;

std::vector<rt::Control> QtWindow::childrenOf(const std::string& parent) const {
  std::vector<rt::Control> out;
  for (const rt::Control& c : controls_)
    if (c.parent == parent) out.push_back(c);
  return out;
}

void QtWindow::fitWithin(const QSize& area) {
  if (area.isEmpty()) return;
  setMinimumSize(minimumSize().boundedTo(area));
}

QSize QtWindow::minimumFromResource() const {
  const DialogUnits du(font());
  return {du.x(window_->minWidth()), du.y(window_->minHeight())};
}

void QtWindow::build(QBoxLayout* layout, const std::string& parent, bool isWindow) {
  const std::vector<rt::Control> kids = childrenOf(parent);
  QFormLayout* form = nullptr;
  QHBoxLayout* inlineButtons = nullptr;
  std::vector<QWidget*> bar;  // the window's bottom bar: buttons or groups of them
  auto addFormRow = [&](const rt::Control& prompt, QWidget* fieldWidget, QWidget* buddy) {
    if (!form) {
      form = new QFormLayout;
      form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
      layout->addLayout(form);
    }
    auto* label = static_cast<QLabel*>(makeWidget(prompt));
    label->setBuddy(buddy);
    form->addRow(label, fieldWidget);
  };
  for (std::size_t i = 0; i < kids.size(); ++i) {
    const rt::Control& c = kids[i];
    if (c.kind == ControlKind::Button) {
      QWidget* b = makeWidget(c);
      if (isWindow) {
        bar.push_back(b);
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
    if (c.kind == ControlKind::Prompt && i + 1 < kids.size() && isField(kids[i + 1].kind)) {
      QWidget* field = makeWidget(kids[i + 1]);
      addFormRow(c, field, field);
      ++i;
      continue;
    }
    if (c.kind == ControlKind::Row) {
      const std::vector<rt::Control> parts = childrenOf(c.name);
      // A prompt, its field and small buttons beside it line up with the form around it.
      if (parts.size() >= 2 && parts[0].kind == ControlKind::Prompt && isField(parts[1].kind) &&
          std::all_of(parts.begin() + 2, parts.end(), [](const rt::Control& p) { return p.kind == ControlKind::Button; })) {
        QWidget* field = makeWidget(parts[1]);
        QWidget* cell = field;
        if (parts.size() > 2) {
          cell = new QWidget;
          auto* row = new QHBoxLayout(cell);
          row->setContentsMargins(0, 0, 0, 0);
          const bool grows = field->sizePolicy().horizontalPolicy() & QSizePolicy::GrowFlag;
          row->addWidget(field, grows ? 1 : 0);
          for (std::size_t p = 2; p < parts.size(); ++p) row->addWidget(makeWidget(parts[p]));
          if (!grows) row->addStretch(1);
        }
        addFormRow(parts[0], cell, field);
        continue;
      }
      // Rows of buttons directly in the window make its bottom bar.
      const bool buttonBar = isWindow && !parts.empty() && std::all_of(parts.begin(), parts.end(), [&](const rt::Control& p) {
        if (p.kind == ControlKind::Button) return true;
        if (p.kind != ControlKind::Row) return false;
        const auto inner = childrenOf(p.name);
        return std::all_of(inner.begin(), inner.end(), [](const rt::Control& b) { return b.kind == ControlKind::Button; });
      });
      if (buttonBar) {
        for (const rt::Control& p : parts) bar.push_back(p.kind == ControlKind::Button ? makeWidget(p) : makeButtonGroup(p));
        continue;
      }
    }
    // The window's picture and its title text make one band.
    if (c.kind == ControlKind::Image && i + 1 < kids.size() && kids[i + 1].kind == ControlKind::String) {
      form = nullptr;
      auto* band = new QHBoxLayout;
      band->addWidget(makeWidget(c));
      QWidget* title = makeWidget(kids[i + 1]);
      QFont f = title->font();
      f.setBold(true);
      f.setPointSizeF(f.pointSizeF() * 1.25);
      title->setFont(f);
      title->setProperty("ownWeight", int(QFont::Bold));
      band->addWidget(title, 1);
      layout->addLayout(band);
      ++i;
      continue;
    }
    form = nullptr;
    switch (c.kind) {
      case ControlKind::Row: {
        auto* row = new QHBoxLayout;
        QLabel* pendingPrompt = nullptr;
        for (const rt::Control& part : childrenOf(c.name)) {
          if (isContainer(part.kind) || part.kind == ControlKind::Row) {
            // A group in a row is still the group: its frame and caption show, and it is
            // the widget its name enables and hides.
            const bool framed = part.kind == ControlKind::Group || part.kind == ControlKind::Option;
            QWidget* inner = framed ? makeWidget(part) : new QWidget;
            auto* innerLayout = new QVBoxLayout(inner);
            if (!framed) innerLayout->setContentsMargins(0, 0, 0, 0);
            build(innerLayout, part.name, false);
            row->addWidget(inner);
            continue;
          }
          QWidget* w = makeWidget(part);
          if (pendingPrompt && isField(part.kind)) pendingPrompt->setBuddy(w);
          pendingPrompt = part.kind == ControlKind::Prompt ? static_cast<QLabel*>(w) : nullptr;
          // A prompt keeps to its text, so that it stands by its field.
          if (part.kind == ControlKind::Prompt) w->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Preferred);
          row->addWidget(w, part.kind == ControlKind::Prompt || part.kind == ControlKind::Button ? 0 : 1);
        }
        // Room the fields can't take (a date field has its own width) goes to the end of
        // the row, not between a prompt and its field.
        row->addStretch(0);
        layout->addLayout(row);
        break;
      }
      case ControlKind::Sheet: {
        auto* tabs = new QTabWidget;
        tabs->setObjectName(qs(c.name));
        widgets_[c.name] = tabs;
        names_[tabs] = c.name;
        for (const rt::Control& tab : childrenOf(c.name)) {
          auto* page = new QWidget;
          auto* pageLayout = new QVBoxLayout(page);
          build(pageLayout, tab.name, false);
          pageLayout->addStretch();
          tabs->addTab(page, qs(tab.text));
          widgets_[tab.name] = page;
          names_[page] = tab.name;
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
        build(inner, c.name, false);
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
  if (!isWindow) return;
  createdRow_ = new QHBoxLayout;
  layout->addLayout(createdRow_);
  if (bar.empty()) return;
  // One group stands at the right; with several, the first (the dictionary's own
  // buttons) stands at the left and the window's buttons at the right.
  // The bar wraps onto more lines rather than making the window wider than its workspace.
  auto* row = new FlowLayout;
  row->setSpacing(style()->layoutSpacing(QSizePolicy::PushButton, QSizePolicy::PushButton, Qt::Horizontal));
  if (bar.size() > 1 && !qobject_cast<QPushButton*>(bar[0])) row->setSplit(1);
  for (QWidget* item : bar) row->addWidget(item);
  layout->addLayout(row);
}

QWidget* QtWindow::makeButtonGroup(const rt::Control& row) {
  auto* group = new QWidget;
  group->setObjectName(qs(row.name));
  // The group's buttons wrap when the window is narrower than they are.
  auto* layout = new FlowLayout(group);
  layout->setSpacing(group->style()->layoutSpacing(QSizePolicy::PushButton, QSizePolicy::PushButton, Qt::Horizontal));
  for (const rt::Control& b : childrenOf(row.name)) layout->addWidget(makeWidget(b));
  widgets_[row.name] = group;
  names_[group] = row.name;
  return group;
}

QWidget* QtWindow::makeWidget(const rt::Control& c) {
  QWidget* w = nullptr;
  switch (c.kind) {
    case ControlKind::Prompt:
    case ControlKind::String:
      w = new QLabel;
      break;
    case ControlKind::Image:
      w = new ImageLabel;
      break;
    case ControlKind::Button: {
      auto* b = new QPushButton;
      b->setAutoDefault(false);
      b->setDefault(c.isDefault);
      if (isCompactButton(c)) b->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
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
      auto* view = new ListView(new QtListModel(window_, c.name));
      lists_[c.name] = view;
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
    case ControlKind::Entry:
    case ControlKind::Spin: {
      auto* edit = new PictureEdit;
      const bool fixedWidth = edit->setPicture(c.picture) && edit->picture().kind() != rt::Picture::Kind::String;
      if (fixedWidth || (edit->picture().width() > 0 && edit->picture().width() <= 12))
        edit->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
      w = edit;
      break;
    }
    default:  // anything else typed into
      w = new QLineEdit;
      break;
  }
  w->setObjectName(qs(c.name));
  widgets_[c.name] = w;
  names_[w] = c.name;
  connectInput(c, w);
  return w;
}

void QtWindow::watch(QWidget* w) {
  // Every widget inside the window, down to a combo's own line edit, reports its keys.
  w->removeEventFilter(this);
  w->installEventFilter(this);
}

std::string QtWindow::controlOf(QObject* o) const {
  for (; o && o != this; o = o->parent()) {
    auto it = names_.find(o);
    if (it != names_.end()) return it->second;
  }
  return {};
}

void QtWindow::connectInput(const rt::Control& c, QWidget* w) {
  const std::string name = c.name;
  if (auto* b = qobject_cast<QPushButton*>(w)) {
    connect(b, &QPushButton::clicked, this, [this, name] { report(window_->click(name)); });
  } else if (auto* check = qobject_cast<QCheckBox*>(w)) {
    connect(check, &QCheckBox::clicked, this, [this, name] { report(window_->click(name)); });
  } else if (auto* radio = qobject_cast<QRadioButton*>(w)) {
    connect(radio, &QRadioButton::clicked, this, [this, name] { report(window_->click(name)); });
  } else if (auto* edit = qobject_cast<PictureEdit*>(w)) {
    connect(edit, &QLineEdit::editingFinished, this, [this, name, edit] {
      if (!applying_) commitTyping(edit, name);
    });
  } else if (auto* line = qobject_cast<QLineEdit*>(w)) {
    connect(line, &QLineEdit::editingFinished, this, [this, name, line] {
      if (!applying_) commitTyping(line, name);
    });
  } else if (auto* box = qobject_cast<QComboBox*>(w)) {
    connect(box, &QComboBox::activated, this, [this, name, box] {
      if (!applying_) report(window_->choose(name, box->currentText().toStdString()));
    });
  } else if (auto* tabs = qobject_cast<QTabWidget*>(w)) {
    connect(tabs, &QTabWidget::currentChanged, this, [this, name](int index) {
      if (applying_ || index < 0) return;
      std::vector<rt::Control> pages = childrenOf(name);
      if (index < int(pages.size())) report(window_->click(pages[index].name));
    });
  } else if (auto* view = qobject_cast<ListView*>(w)) {
    connect(view, &QTableView::clicked, this, [this, name](const QModelIndex& i) {
      // Shift+click selects the rows from where the selection started, Ctrl+click adds or
      // takes away one row; the window keeps which rows are selected.
      const auto mods = QGuiApplication::keyboardModifiers();
      if (mods & (Qt::ShiftModifier | Qt::ControlModifier))
        report(window_->extendRow(name, i.row() + 1, (mods & Qt::ShiftModifier) != 0));
      else
        report(window_->clickRow(name, i.row() + 1));
    });
    connect(view, &QTableView::doubleClicked, this, [this, name](const QModelIndex& i) {
      report(window_->clickRow(name, i.row() + 1, true));
    });
    connect(view, &QWidget::customContextMenuRequested, this, [this, name, view](const QPoint& p) {
      const int row = view->indexAt(p).row();
      if (row >= 0) report(window_->rightClickRow(name, row + 1));
    });
    connect(view->horizontalHeader(), &QHeaderView::sectionClicked, this, [this, name, view](int column) {
      const auto mods = QGuiApplication::keyboardModifiers();
      const int formatColumn = view->listModel()->formatColumn(column);
      if (formatColumn >= 0)
        report(window_->clickHeader(name, formatColumn + 1,
                                    runtimeMouseCode(mods & Qt::ShiftModifier, mods & Qt::ControlModifier)));
    });
  }
  if (auto* line = qobject_cast<QLineEdit*>(w); line && c.name == kLocatorEntry) {
    // The list follows what is typed in its search entry after a short pause, without Enter.
    auto* pause = new QTimer(line);
    pause->setSingleShot(true);
    pause->setInterval(kLocatorPause);
    connect(pause, &QTimer::timeout, this, [this, name, line] {
      if (line->hasFocus() && !applying_) commitTyping(line, name);
    });
    connect(line, &QLineEdit::textEdited, pause, qOverload<>(&QTimer::start));
  }
}

// Gives the runtime what was typed into an entry; false when the entry's picture
// refused the text (the entry then shows the value it had).
bool QtWindow::commitTyping(QWidget* w, const std::string& name) {
  if (auto* edit = qobject_cast<PictureEdit*>(w)) {
    if (!edit->isEdited()) return true;
    auto value = edit->accept();
    if (!value) {
      QApplication::beep();
      return false;
    }
    if (*value != window_->value(name)) report(window_->type(name, *value));
    return true;
  }
  std::string text;
  if (auto* line = qobject_cast<QLineEdit*>(w)) {
    text = line->text().toStdString();
  } else if (auto* plain = qobject_cast<QPlainTextEdit*>(w)) {
    text = plain->toPlainText().toStdString();
    // A multi-line text tells the runtime where its cursor stands (its selection, counted
    // in characters from 1), so that what a button inserts lands there.
    const QString before = plain->toPlainText().left(plain->textCursor().position());
    window_->setSelection(name, static_cast<int>(before.toUcs4().size()) + 1);
  } else {
    return true;
  }
  if (text != window_->value(name)) report(window_->type(name, text));
  return true;
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
      static_cast<QLabel*>(w)->setText(text.isEmpty() ? shownValue(c) : text);
      break;
    case ControlKind::Image: {
      // A value naming a file is a picture to preview (a path has a folder in it; an
      // icon's name has none).
      auto* image = static_cast<ImageLabel*>(w);
      if (c.icon.empty() && c.value.find('/') != std::string::npos && image->showPictureFile(value)) break;
      QIcon icon = IconLibrary::instance().icon(c.icon.empty() ? c.value : c.icon);
      image->showIcon(c.icon.empty() && c.value.empty() ? QPixmap() : icon.pixmap(48, 48));
      break;
    }
    case ControlKind::Button: {
      auto* b = static_cast<QPushButton*>(w);
      b->setText(buttonText(c));
      b->setIcon(IconLibrary::instance().icon(c.icon));
      if (isCompactButton(c)) {
        const int side = b->fontMetrics().height() + 10;
        b->setFixedSize(std::max(side, b->fontMetrics().horizontalAdvance(b->text()) + 16), side);
      }
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
      // The cursor goes where the runtime's selection puts it (characters from 1).
      if (c.selection > 0) {
        const QList<uint> characters = value.toUcs4();
        const int upTo = std::min<int>(c.selection - 1, static_cast<int>(characters.size()));
        QTextCursor cursor = edit->textCursor();
        cursor.setPosition(QString::fromUcs4(reinterpret_cast<const char32_t*>(characters.constData()), upTo).size());
        edit->setTextCursor(cursor);
      }
      break;
    }
    case ControlKind::Progress:
      static_cast<QProgressBar*>(w)->setValue(value.toInt());
      break;
    case ControlKind::List: {
      auto* view = static_cast<ListView*>(w);
      view->listModel()->refresh();
      view->applyFormat();
      view->showSelection(c.selection, c.marked);
      break;
    }
    case ControlKind::Group:
    case ControlKind::Option:
      static_cast<QGroupBox*>(w)->setTitle(text);
      break;
    case ControlKind::Panel: {
      // A panel with a caption shows it; its value 1 draws it pressed in.
      auto* frame = static_cast<QFrame*>(w);
      frame->setFrameShadow(c.value == "1" ? QFrame::Sunken : QFrame::Raised);
      auto* caption = frame->findChild<QLabel*>(QStringLiteral("caption"), Qt::FindDirectChildrenOnly);
      if (!caption && !text.isEmpty()) {
        caption = new QLabel(frame);
        caption->setObjectName(QStringLiteral("caption"));
        if (!frame->layout()) new QVBoxLayout(frame);
        frame->layout()->addWidget(caption);
      }
      if (caption) caption->setText(text);
      break;
    }
    default:
      if (auto* edit = qobject_cast<PictureEdit*>(w)) {
        if (edit->picture().text() != c.picture && !edit->setPicture(c.picture))
          rt::logMessage("okno " + window_->title() + ": " + c.name + " ma nieczytelny wzorzec " + c.picture);
        edit->setStoredValue(c.value);
        edit->setReadOnly(c.readOnly);
      } else if (auto* line = qobject_cast<QLineEdit*>(w)) {
        if (line->text() != value) line->setText(value);
        line->setReadOnly(c.readOnly);
      }
      break;
  }
  w->setEnabled(c.enabled);
  w->setVisible(!c.hidden);
  w->setToolTip(qs(c.tip));
  applyLook(c, w);
  applying_ = false;
}

// Colours go into the palette, so that a coloured control keeps its own frame and
// look; the focus frame is drawn outside the control.
void QtWindow::applyLook(const rt::Control& c, QWidget* w) {
  if (c.kind == ControlKind::List || c.kind == ControlKind::Sheet || c.kind == ControlKind::Tab) return;
  QPalette palette;  // roles left unset follow the parent
  const QColor fg = runtimeColor(c.fontColor);
  const QColor bg = runtimeColor(c.backColor);
  if (fg.isValid())
    for (auto role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText}) palette.setColor(role, fg);
  if (bg.isValid())
    for (auto role : {QPalette::Base, QPalette::Window, QPalette::Button}) palette.setColor(role, bg);
  w->setPalette(palette);
  const bool input = qobject_cast<QLineEdit*>(w) || qobject_cast<QPlainTextEdit*>(w) || qobject_cast<QComboBox*>(w);
  // A radio group is as wide as its row: filled, the focus colour would cross the window.
  // Its radios and the focus frame show where the keyboard is.
  w->setAutoFillBackground(bg.isValid() && !input && c.kind != ControlKind::Option);
  if (!isContainer(c.kind)) {
    // A weight the procedure sets wins; the normal weight gives the control its own back.
    const QVariant own = w->property("ownWeight");
    const auto weight = c.fontWeight != rt::kNormalWeight ? QFont::Weight(std::clamp(c.fontWeight, 100, 900))
                        : own.isValid()                   ? QFont::Weight(own.toInt())
                                                          : QFont::Normal;
    if (w->font().weight() != weight) {
      QFont f = w->font();
      f.setWeight(weight);
      w->setFont(f);
    }
  }
  const QColor frame = runtimeColor(c.frameColor);
  auto it = frames_.find(c.name);
  if (it == frames_.end() && frame.isValid() && w->parentWidget())
    it = frames_.emplace(c.name, new FocusFrame(w)).first;
  if (it != frames_.end()) it->second->setColor(frame);
}

QWidget* QtWindow::widgetFor(const std::string& control) const {
  auto it = widgets_.find(control);
  return it == widgets_.end() ? nullptr : it->second;
}

FocusFrame* QtWindow::frameFor(const std::string& control) const {
  auto it = frames_.find(control);
  return it == frames_.end() ? nullptr : it->second;
}

void QtWindow::refresh(const std::string& control, rt::Property property) {
  if (control.empty()) {
    if (property == rt::Property::Title) setWindowTitle(qs(window_->title()));
    if (property == rt::Property::Active) {
      setEnabled(window_->isActive());
      if (window_->isActive()) takeKeyboardBack();
    }
    return;
  }
  if (property == rt::Property::Destroyed) {
    dropDestroyed();
    return;
  }
  if (property == rt::Property::Created) addCreated(control);
  QWidget* w = widgetFor(control);
  auto c = window_->control(control);
  if (!w || !c) return;
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
  if (property == rt::Property::Value && splits_.count(control)) setSplit(control);
}

// A control made at run time has no place in the resource: it joins its parent's
// layout, or the row above the window's buttons. Hidden, it takes no room.
void QtWindow::addCreated(const std::string& control) {
  if (widgetFor(control)) return;
  auto c = window_->control(control);
  if (!c) return;  // destroyed again before the GUI got to it
  controls_ = window_->controls();
  QWidget* parent = c->parent.empty() ? nullptr : widgetFor(c->parent);
  QWidget* w = makeWidget(*c);
  if (auto* box = parent ? qobject_cast<QBoxLayout*>(parent->layout()) : nullptr) box->addWidget(w);
  else if (parent && parent->layout()) parent->layout()->addWidget(w);
  else createdRow_->addWidget(w);
  watch(w);
  for (QWidget* inner : w->findChildren<QWidget*>()) watch(inner);
  apply(*c, w);
}

void QtWindow::dropDestroyed() {
  controls_ = window_->controls();
  std::vector<std::string> gone;
  for (const auto& [name, w] : widgets_)
    if (!window_->has(name)) gone.push_back(name);
  std::vector<QWidget*> doomed;
  for (const std::string& name : gone) {
    QWidget* w = widgets_[name];
    widgets_.erase(name);
    lists_.erase(name);
    splits_.erase(name);
    names_.erase(w);
    if (auto f = frames_.find(name); f != frames_.end()) {
      f->second->deleteLater();
      frames_.erase(f);
    }
    doomed.push_back(w);
  }
  for (QWidget* w : doomed) {
    // A child goes with its parent: only the outermost ones are deleted here.
    bool inner = false;
    for (QWidget* other : doomed)
      if (other != w && other->isAncestorOf(w)) inner = true;
    if (inner) continue;
    w->hide();
    if (QLayout* l = layoutHolding(w)) l->removeWidget(w);
    w->deleteLater();
  }
}

// A form closed over this window: the window comes to the front and the keyboard goes
// back to the control the window had focused (the list, on the row the form worked on).
void QtWindow::takeKeyboardBack() {
  // The workspace gives the focus back to a widget of its own choosing once the events
  // queued now are done: until then no focus the window did not ask for reaches it.
  restoring_ = true;
  if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
    if (QMdiArea* area = sub->mdiArea(); area && area->activeSubWindow() != sub) area->setActiveSubWindow(sub);
  auto focusRuntimeControl = [this] {
    QWidget* w = widgetFor(window_->focus());
    if (!w) return;
    applying_ = true;
    w->setFocus(Qt::OtherFocusReason);
    applying_ = false;
  };
  focusRuntimeControl();
  QTimer::singleShot(0, this, [this, focusRuntimeControl] {
    restoring_ = false;
    focusRuntimeControl();
  });
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

QString QtWindow::tipFor(const std::string& control) const {
  if (auto balloon = fw::XTOOLTIP().balloonFor(*window_, control))
    return QStringLiteral("<b>%1</b><br>%2").arg(qs(balloon->title).toHtmlEscaped(), qs(balloon->text).toHtmlEscaped());
  auto c = window_->control(control);
  return c ? qs(c->tip) : QString();
}

// --- layout hints ------------------------------------------------------------------

QWidget* QtWindow::container() const {
  if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget())) return sub;
  return const_cast<QtWindow*>(this);
}

fw::Placement QtWindow::placement() const {
  QWidget* c = container();
  if (c->isMaximized()) {
    fw::Placement p = normal_;
    p.maximized = true;
    return p;
  }
  return {c->x(), c->y(), c->width(), c->height(), false};
}

void QtWindow::applyLayout() {
  const fw::WindowLayout layout = fw::windowLayouts().get(window_->id());
  // Until the window shows, its frame (a workspace's sub-window) may not exist yet.
  if (tracking_ && layout.placement && (!applied_.placement || *applied_.placement != *layout.placement))
    applyPlacement(*layout.placement);
  if (layout.rules != applied_.rules)
    for (const fw::LayoutRule& rule : layout.rules) {
      auto c = window_->control(rule.control);
      if (QWidget* w = widgetFor(rule.control))
        applyLayoutRule(w, rule, c && (c->kind == ControlKind::Image || c->kind == ControlKind::Button));
    }
  // The font first: a row height in dialog units is measured in the list's own font.
  if (layout.listFonts != applied_.listFonts)
    for (const auto& [list, look] : layout.listFonts)
      if (auto it = lists_.find(list); it != lists_.end()) it->second->setListFont(qs(look.family), look.points);
  for (const auto& [list, units] : layout.listRowHeights)
    if (auto it = lists_.find(list); it != lists_.end()) it->second->setRowHeightUnits(units);
  for (const auto& [list, color] : layout.gridColors)
    if (auto it = lists_.find(list); it != lists_.end()) it->second->setGridColor(runtimeColor(color));
  if (layout.themed != applied_.themed) {
    QPalette p = palette();
    if (layout.themed) p.setColor(QPalette::Window, runtimeColor(fw::kThemeGridColor).lighter(125));
    setPalette(layout.themed ? p : QApplication::palette(this));
    setAutoFillBackground(layout.themed);
  }
  for (const fw::SplitterRule& rule : layout.splitters) applySplitter(rule);
  applied_ = layout;
}

void QtWindow::applyPlacement(const fw::Placement& p) {
  QWidget* c = container();
  if (placement() == p || p.width < 1 || p.height < 1) return;
  placing_ = true;
  if (c->isMaximized() && !p.maximized) c->showNormal();
  const QRect wanted(p.x, p.y, p.width, p.height);
  QRect area;
  if (c != this) {
    area = c->parentWidget() ? c->parentWidget()->rect() : QRect();
  } else {
    for (QScreen* s : QGuiApplication::screens())
      if (isReachable(wanted, s->availableGeometry())) area = s->availableGeometry();
  }
  // A position stored on another screen would put the window out of reach: keep the
  // size and let the window stand where it would have stood.
  if (isReachable(wanted, area)) c->move(p.x, p.y);
  c->resize(QSize(p.width, p.height).expandedTo(c->minimumSize()));
  normal_ = {c->x(), c->y(), c->width(), c->height(), false};
  if (p.maximized && !c->isMaximized()) c->showMaximized();
  placing_ = false;
  // A place the window could not take (below its minimum, out of reach) is told back
  // as it really is, so that the procedure stores what the person saw.
  if (placement() != p) reportPlacement();
}

void QtWindow::reportPlacement() {
  if (!tracking_ || placing_ || window_->isClosed()) return;
  QWidget* c = container();
  if (c->isMinimized()) return;
  if (!c->isMaximized()) normal_ = {c->x(), c->y(), c->width(), c->height(), false};
  const fw::Placement now = placement();
  auto stored = fw::windowLayouts().get(window_->id()).placement;
  if (stored && *stored == now) return;
  applied_.placement = now;  // the registry's echo of this report needs no applying
  fw::windowLayouts().setPlacement(*window_, now);
}

void QtWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (tracking_) return;
  container()->installEventFilter(this);
  // The placement wins over where the workspace or the window system would put it.
  if (auto stored = fw::windowLayouts().get(window_->id()).placement) applyPlacement(*stored);
  tracking_ = true;
  applyLayout();
  reportPlacement();
}

void QtWindow::applySplitter(const fw::SplitterRule& rule) {
  if (splits_.count(rule.control)) return;
  QWidget* first = widgetFor(rule.first);
  QWidget* second = widgetFor(rule.second);
  QLayout* layout = layoutHolding(first);
  if (!first || !second || !layout || layoutHolding(second) != layout) {
    rt::logMessage("okno " + window_->title() + ": podział " + rule.control + " wymaga " + rule.first + " i " +
                   rule.second + " w jednym wierszu");
    return;
  }
  auto* splitter = new QSplitter(rule.vertical ? Qt::Horizontal : Qt::Vertical);
  splitter->setChildrenCollapsible(false);
  delete layout->replaceWidget(first, splitter);
  layout->removeWidget(second);
  splitter->addWidget(first);
  splitter->addWidget(second);
  // The narrower part (a tree of entries beside a list) keeps the room its entries need,
  // and the wider one takes what the window gains or loses.
  const auto extent = [&rule](const QSize& size) { return rule.vertical ? size.width() : size.height(); };
  const int narrow = extent(first->sizeHint()) <= extent(second->sizeHint()) ? 0 : 1;
  QWidget* kept = narrow == 0 ? first : second;
  // A list asks for its columns' width: no drag cuts its entries.
  if (rule.vertical && qobject_cast<ListView*>(kept)) kept->setMinimumWidth(kept->sizeHint().width());
  splitter->setStretchFactor(narrow, 0);
  splitter->setStretchFactor(1 - narrow, 1);
  if (auto* box = qobject_cast<QBoxLayout*>(layout)) box->setStretchFactor(splitter, 1);
  if (QWidget* own = widgetFor(rule.control)) own->hide();  // the divider takes its place
  splits_[rule.control] = {splitter, -1};
  splitter->installEventFilter(this);
  const std::string name = rule.control;
  connect(splitter, &QSplitter::splitterMoved, this, [this, name](int pos) {
    if (applying_) return;
    window_->setValue(name, std::to_string(pos - splits_[name].base));
  });
  setSplit(name);
}

void QtWindow::setSplit(const std::string& splitter) {
  auto it = splits_.find(splitter);
  if (it == splits_.end()) return;
  QSplitter* s = it->second.splitter;
  const QList<int> sizes = s->sizes();
  const int total = sizes.size() == 2 ? sizes[0] + sizes[1] : 0;
  // The offset counts from where the layout first put the divider; until the splitter
  // has been laid out there is nothing to count from (its first resize comes back here).
  if (total <= 0) return;
  if (it->second.base < 0) it->second.base = sizes[0];
  bool ok = false;
  const int offset = qs(window_->value(splitter)).toInt(&ok);
  const int first = std::clamp(it->second.base + (ok ? offset : 0), 0, total);
  applying_ = true;
  s->setSizes({first, total - first});
  applying_ = false;
}

// --- input ---------------------------------------------------------------------------

const rt::Control* QtWindow::onlyList() const {
  const rt::Control* found = nullptr;
  for (const rt::Control& c : controls_) {
    if (c.kind != ControlKind::List) continue;
    if (found) return nullptr;  // with two lists, which one the arrows meant is unknown
    found = &c;
  }
  return found;
}

std::optional<QPoint> QtWindow::keyboardPopupPosition() const {
  if (!keyboardInput_) return std::nullopt;
  auto c = window_->control(window_->focus());
  QWidget* w = c ? widgetFor(c->name) : nullptr;
  if (!w || !w->isVisible()) return std::nullopt;
  if (auto* view = qobject_cast<ListView*>(w); view && c->selection > 0) {
    const QRect row = view->visualRect(view->model()->index(c->selection - 1, 0));
    if (row.isValid()) return view->viewport()->mapToGlobal(QPoint(row.left() + row.height(), row.bottom()));
  }
  return w->mapToGlobal(QPoint(0, w->height()));
}

bool QtWindow::wantsKey(const rt::Control& c, int code) const {
  namespace key = rt::key;
  if (window_->isAlerted(code) || std::find(c.alerts.begin(), c.alerts.end(), code) != c.alerts.end()) return true;
  for (const rt::Control& other : controls_)
    if (other.key == code) return true;
  const int base = key::base(code);
  if (code == key::Esc || code == key::Tab || code == key::ShiftTab) return true;
  // Alt with a letter is the window's when one of its controls has that mnemonic; any
  // other Alt+letter, and every function key the window leaves unused (Ctrl+F6 among
  // them), belongs to the frame's menu. Ctrl+Alt is how some keyboards type Polish letters.
  if ((code & key::AltMod) && !(code & key::CtrlMod)) {
    for (const rt::Control& other : controls_)
      if (other.enabled && !other.hidden && other.mnemonic() != 0 && other.mnemonic() == base) return true;
    return false;
  }
  if (code == key::Enter) return c.kind != ControlKind::Text;
  if (c.kind == ControlKind::List)
    return base == key::Up || base == key::Down || base == key::PgUp || base == key::PgDn || base == key::Home ||
           base == key::End || code == key::Ins || code == key::Del;
  return false;
}

bool QtWindow::keyPressed(QWidget* w, const rt::Control& c, QKeyEvent* event) {
  const int code = runtimeKeyCode(*event);
  // The menu key and Shift+F10 open the list's popup menu for the selected row.
  if (event->key() == Qt::Key_Menu || code == rt::key::ShiftF10) {
    if (c.kind == ControlKind::List && c.selection > 0) {
      report(window_->rightClickRow(c.name, c.selection));
      return true;
    }
    if (event->key() == Qt::Key_Menu) return false;
  }
  // A button a key has pressed (F4) keeps the focus; the arrows still move the list.
  if (c.kind == ControlKind::Button && code != 0 && isListMove(code))
    if (const rt::Control* list = onlyList(); list && list->enabled && !list->hidden) {
      report(window_->click(list->name));
      report(window_->pressKey(code));
      return true;
    }
  if (code == 0 || !wantsKey(c, code)) return false;
  // What was typed counts before the key does (Enter or Tab completes the field); text
  // the field's picture refuses keeps the person in the field.
  (void)w;
  if (QWidget* field = widgetFor(c.name); field && !commitTyping(field, c.name)) return true;
  report(window_->pressKey(code));
  return true;
}

bool QtWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Resize)
    for (const auto& [name, split] : splits_)
      if (split.splitter == watched && split.base < 0) {
        setSplit(name);
        return false;
      }
  if (watched == container() && watched != this) {
    if (event->type() == QEvent::Move || event->type() == QEvent::Resize || event->type() == QEvent::WindowStateChange)
      reportPlacement();
    return false;
  }
  if (watched == this) {
    if (isWindow() &&
        (event->type() == QEvent::Move || event->type() == QEvent::Resize || event->type() == QEvent::WindowStateChange))
      reportPlacement();
    return false;
  }
  auto* w = qobject_cast<QWidget*>(watched);
  const std::string name = controlOf(watched);
  if (!w || name.empty()) return false;
  auto c = window_->control(name);
  if (!c) return false;
  switch (event->type()) {
    case QEvent::FocusIn:
      if (!applying_ && !restoring_ && reportsFocus(c->kind) && window_->focus() != name) report(window_->click(name));
      return false;
    case QEvent::FocusOut:
      // A multi-line text has no "editing finished" of its own: leaving it is when its
      // text (and where its cursor stood) reaches the window, before the click that
      // took the focus away is taken.
      if (!applying_ && qobject_cast<QPlainTextEdit*>(w)) commitTyping(w, name);
      return false;
    case QEvent::ToolTip: {
      const QString tip = tipFor(name);
      if (tip.isEmpty()) return false;
      QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), tip, w);
      return true;
    }
    case QEvent::MouseButtonPress:
      altAlone_ = false;
      keyboardInput_ = false;
      return false;
    case QEvent::ContextMenu:
      // The menu key's press has opened the popup already.
      return static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Keyboard;
    case QEvent::ShortcutOverride: {
      // A key the runtime wants must reach the window, not a shortcut of the frame.
      const int code = runtimeKeyCode(*static_cast<QKeyEvent*>(event));
      if (code != 0 && wantsKey(*c, code)) {
        event->accept();
        return true;
      }
      return false;
    }
    case QEvent::KeyPress: {
      auto* key = static_cast<QKeyEvent*>(event);
      // Alt's own press may or may not carry its modifier, depending on the platform.
      const bool alt = key->key() == Qt::Key_Alt && !(key->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier));
      if (!(alt && key->isAutoRepeat())) altAlone_ = alt;
      keyboardInput_ = true;
      return keyPressed(w, *c, key);
    }
    case QEvent::KeyRelease: {
      auto* key = static_cast<QKeyEvent*>(event);
      if (key->key() != Qt::Key_Alt || !altAlone_) return false;
      altAlone_ = false;
      // Alt pressed and let go alone belongs to the window when it asked for it.
      if (!window_->isAlerted(rt::key::AltAlone)) return false;
      report(window_->pressKey(rt::key::AltAlone));
      return true;
    }
    default:
      return false;
  }
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
