// Shared set-up of the window tests: the program's windows on the Qt runtime, offscreen, and the
// small helpers every window test uses (widgets by name, toolbar buttons, screenshots, puzzles).
#pragma once

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QTimer>
#include <QToolBar>
#include <QtTest>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "board/main.h"
#include "look.h"
#include "qt_runtime.h"
#include "view.h"

namespace ks::gui_test {

inline QString shot(const char* file) {
  QDir().mkpath(QStringLiteral(KS_SCREENSHOT_DIR));
  return QStringLiteral(KS_SCREENSHOT_DIR "/") + QLatin1String(file);
}

// A puzzle of tests/data/killer.txt: layout, solution, id.
struct Puzzle {
  std::string layout, solution, id;
};
inline Puzzle puzzle(const char* id) {
  QFile f(QStringLiteral(KS_TEST_DATA "/killer.txt"));
  if (!f.open(QIODevice::ReadOnly)) return {};
  while (!f.atEnd()) {
    const QString line = QString::fromUtf8(f.readLine()).trimmed();
    if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) continue;
    const QStringList parts = line.split(QLatin1Char('|'));
    if (parts.size() == 3 && parts[2] == QLatin1String(id))
      return {parts[0].toStdString(), parts[1].toStdString(), parts[2].toStdString()};
  }
  return {};
}

// The program's windows, shown offscreen: the main window with its companions.
class Windows {
 public:
  Windows() {
    view::apply_look(*qApp);
    rt = std::make_unique<view::QtRuntime>();
    m = std::make_unique<Main>(*rt);
    view = std::make_unique<view::View>(
        m->form, std::vector<Form*>{&m->frmlog.form, &m->frmgeneratore.form, &m->frmlivello.form});
    rt->set_form_widgets([this](Form& f) -> QWidget* {
      view::FormWindow* w = view->window(f);
      return w ? &w->canvas() : nullptr;
    });
    m->Form_Load();
    m->form.Show();
    view->flush();
  }
  ~Windows() {
    view.reset();
    m.reset();
    rt.reset();
  }

  view::FormWindow& main_window() const { return view->main_window(); }
  template <class W = QWidget>
  W* find(const QString& name) const {
    return main_window().findChild<W*>(name);
  }
  // The widget of control `name` of an array, by index: "Text1(3)".
  QWidget* cell(const char* name, int i) const {
    return find(QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(i));
  }
  QWidget* button(const char* toolbar, const char* key) const {
    auto* bar = find<QToolBar>(QLatin1String(toolbar));
    return bar ? bar->findChild<QWidget*>(QLatin1String(key)) : nullptr;
  }
  // Puts a puzzle on the board as the library does, with its status line.
  void load(const Puzzle& p) {
    m->nuovo_schema();
    m->stringa = p.layout;
    m->carica_gruppi_da_stringa();
    m->controlla_contiguita();
    m->inizializza_candidati();
    m->filetxt.set_text(" Livello 1, schema 1");
  }
  // Lets the batched repaint catch up with the model: longer than the view's largest gap between
  // repaints (40 ms), with room for a coarse timer firing late.
  static void settle() { QTest::qWait(60); }

  std::unique_ptr<view::QtRuntime> rt;
  std::unique_ptr<Main> m;
  std::unique_ptr<view::View> view;
};

// While it lives, the player answers what the program asks: every step waiting at the traffic
// light gets the green light (or what `answer` says), every message box its default button.
class Player {
 public:
  explicit Player(Windows& w, std::function<bool()> answer = [] { return true; }) {
    QObject::connect(&timer_, &QTimer::timeout, [&w, answer, this] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        messages.push_back(box->text().toStdString());
        box->accept();
      }
      if (!w.m->Pictgo.visible()) return;
      ++steps;
      if (on_step) on_step();
      QTest::mouseClick(w.find(answer() ? QStringLiteral("Pictgo") : QStringLiteral("Pictalt")),
                        Qt::LeftButton);
    });
    timer_.start(80);
  }
  int steps = 0;
  std::vector<std::string> messages;
  std::function<void()> on_step;  // runs while a step waits, before the answer

 private:
  QTimer timer_;
};

}  // namespace ks::gui_test
