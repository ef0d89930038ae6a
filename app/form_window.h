// The window of a form: its caption, the menu bar and toolbars built from the model, and the
// canvas with the controls as its client area.
#pragma once

#include <QMainWindow>
#include <functional>
#include <vector>

#include "canvas.h"

class QAction;
class QMenu;
class QToolBar;

namespace ks::view {

class FormWindow : public QMainWindow {
 public:
  explicit FormWindow(Form& form);

  Form& form() const { return form_; }
  Canvas& canvas() const { return *canvas_; }
  // Shows the form-level state of the model: caption, menus, toolbars.
  void sync_form();

  // The user closes the window.
  std::function<void()> on_close;

 protected:
  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  // Escape on a menu of the menu bar closes it and gives the keys back to where they were.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct MenuEntry {
    MenuItem* item;
    QAction* action;
  };
  struct Bar {
    Toolbar* model;
    QToolBar* bar;
    int built = -1;                 // buttons the bar was built with
    std::vector<QAction*> actions;  // per button, counted from 0
  };
  void add_menu_items(QMenu* menu, const std::vector<MenuItem*>& items);
  void sync_menus();
  void build_bar(Bar& b);
  void sync_bar(Bar& b);
  void fit_to_layout();

  Form& form_;
  Canvas* canvas_;
  std::vector<MenuEntry> menus_;
  size_t menu_count_ = 0;
  std::vector<Bar> bars_;
};

}  // namespace ks::view
