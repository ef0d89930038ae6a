// The window of a form: caption, menu bar, toolbars and the canvas.
#include "form_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

#include "icons.h"

namespace ks::view {

namespace {
QString qstr(const std::string& s) { return QString::fromStdString(s); }

size_t count_items(const std::vector<MenuItem*>& items) {
  size_t n = items.size();
  for (const MenuItem* m : items) n += count_items(m->children());
  return n;
}
}  // namespace

FormWindow::FormWindow(Form& form) : form_(form) {
  setObjectName(qstr(form.name()));
  canvas_ = new Canvas(form, this);
  setCentralWidget(canvas_);
  for (Toolbar* t : form.toolbars()) {
    auto* bar = new QToolBar(qstr(t->name()), this);
    bar->setObjectName(qstr(t->name()));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setIconSize(QSize(16, 16));
    bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    if (!bars_.empty()) addToolBarBreak();
    addToolBar(Qt::TopToolBarArea, bar);
    bars_.push_back({t, bar, -1, {}});
  }
  sync_form();
  resize(sizeHint());
  fit_to_layout();
}

// A form whose controls stand at fixed places has one right size, the one that holds them all
// below the menu bar and the toolbars: smaller would cover controls (there are no scroll bars),
// larger would only add empty room.
void FormWindow::fit_to_layout() {
  if (!canvas_->fixed_layout()) return;
  const QSize need = sizeHint();
  if (minimumSize() != need || maximumSize() != need) setFixedSize(need);
}

// A toolbar or the menu bar that changes what it shows asks for a new layout: the window's size
// follows it.
bool FormWindow::event(QEvent* event) {
  const bool done = QMainWindow::event(event);
  if (event->type() == QEvent::LayoutRequest) fit_to_layout();
  return done;
}

void FormWindow::closeEvent(QCloseEvent* event) {
  event->accept();
  if (on_close) on_close();
}

// Qt's own Escape on a menu of the menu bar closes the menu but leaves the bar holding the keys
// (its keyboard mode): the cell the player was typing in loses its focus ring and the arrow keys
// do nothing until a second Escape. The menu closes here instead, and the keys stay where they
// were. A submenu keeps Qt's Escape, which goes back to the menu above it.
bool FormWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
    if (auto* menu = qobject_cast<QMenu*>(watched)) {
      menu->hide();
      return true;
    }
  return QMainWindow::eventFilter(watched, event);
}

void FormWindow::sync_form() {
  setWindowTitle(qstr(form_.caption()));
  sync_menus();
  for (Bar& b : bars_) sync_bar(b);
}

// ---- menus ------------------------------------------------------------------------------------

void FormWindow::add_menu_items(QMenu* menu, const std::vector<MenuItem*>& items) {
  for (MenuItem* item : items) {
    QAction* action = nullptr;
    if (!item->children().empty()) {
      QMenu* sub = menu ? menu->addMenu(QString()) : menuBar()->addMenu(QString());
      sub->setObjectName(qstr(item->name()));
      if (!menu) sub->installEventFilter(this);
      add_menu_items(sub, item->children());
      action = sub->menuAction();
    } else {
      action = menu ? menu->addAction(QString()) : menuBar()->addAction(QString());
      connect(action, &QAction::triggered, this, [this, item] {
        if (item->on_click) item->on_click();
        // The tick is the model's: undo Qt's own toggling when the handler left it alone.
        sync_menus();
      });
    }
    action->setObjectName(qstr(item->name()));
    menus_.push_back({item, action});
  }
}

void FormWindow::sync_menus() {
  if (form_.menu_bar().empty()) return;
  const size_t n = count_items(form_.menu_bar());
  if (n != menu_count_) {
    menuBar()->clear();
    menus_.clear();
    add_menu_items(nullptr, form_.menu_bar());
    menu_count_ = n;
  }
  for (const MenuEntry& e : menus_) {
    const MenuItem& m = *e.item;
    e.action->setSeparator(m.caption() == "-");
    e.action->setText(qstr(m.caption()));
    e.action->setVisible(m.visible());
    e.action->setEnabled(m.enabled());
    e.action->setCheckable(m.checked());
    e.action->setChecked(m.checked());
  }
}

// ---- toolbars ---------------------------------------------------------------------------------

void FormWindow::build_bar(Bar& b) {
  b.bar->clear();
  b.actions.clear();
  for (int n = 1; n <= b.model->count(); ++n) {
    const ToolbarButton& tb = b.model->button(n);
    QAction* a = nullptr;
    switch (tb.style) {
      case ButtonStyle::Separator:
        a = b.bar->addSeparator();
        break;
      case ButtonStyle::Placeholder: {
        auto* blank = new QWidget(b.bar);
        blank->setFixedSize(12, 16);
        a = b.bar->addWidget(blank);
        break;
      }
      case ButtonStyle::Button: {
        Toolbar* model = b.model;
        // A button without an image key is drawn with the image of its key.
        a = b.bar->addAction(toolbar_icon(tb.image.empty() ? tb.key : tb.image), qstr(tb.key));
        connect(a, &QAction::triggered, this, [model, n] {
          if (model->on_button_click) model->on_button_click(model->button(n).key);
        });
        a->setObjectName(qstr(tb.key));
        if (QWidget* w = b.bar->widgetForAction(a)) w->setObjectName(qstr(tb.key));
        break;
      }
    }
    b.actions.push_back(a);
  }
  b.built = b.model->count();
}

void FormWindow::sync_bar(Bar& b) {
  if (b.built != b.model->count()) build_bar(b);
  for (int n = 1; n <= b.model->count(); ++n) {
    const ToolbarButton& tb = b.model->button(n);
    QAction* a = b.actions[static_cast<size_t>(n - 1)];
    a->setVisible(tb.visible);
    a->setEnabled(tb.enabled);
    if (tb.style == ButtonStyle::Button) a->setToolTip(qstr(tb.tool_tip));
  }
  // A toolbar without buttons would only show an empty strip.
  b.bar->setVisible(b.model->count() > 0);
}

}  // namespace ks::view
