// The program: the main window and its companion windows on the Qt runtime.
#include <QApplication>
#include <memory>

#include "board/main.h"
#include "library/level_chooser.h"
#include "look.h"
#include "qt_runtime.h"
#include "view.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationDisplayName(QStringLiteral("Killer Sudoku"));
  ks::view::apply_look(app);

  ks::view::QtRuntime rt;
  // The window's state is large (its tables hold every cage a puzzle can derive): on the heap.
  const auto main_window = std::make_unique<ks::Main>(rt);
  ks::Main& m = *main_window;
  ks::view::View view(m.form, {&m.frmlog.form, &m.frmgeneratore.form, &m.frmlivello.form});
  rt.set_form_widgets([&view](ks::Form& f) -> QWidget* {
    ks::view::FormWindow* w = view.window(f);
    return w ? &w->canvas() : nullptr;
  });
  view.on_main_closed = [&rt, &m] {
    m.Form_Unload();
    rt.end_program();
  };

  m.Form_Load();
  m.form.Show();
  return QApplication::exec();
}
