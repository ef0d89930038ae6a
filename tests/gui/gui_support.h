// Shared set-up of the window tests: the program started on the Qt runtime with its windows
// offscreen, and the folder the screenshots go to.
#pragma once

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QString>
#include <QtTest>
#include <memory>
#include <vector>

#include "board/main.h"
#include "look.h"
#include "qt_runtime.h"
#include "view.h"

namespace ks::gui_test {

// The path of a screenshot: build/screenshots/<file>.
inline QString shot(const char* file) {
  QDir().mkpath(QStringLiteral(KS_SCREENSHOT_DIR));
  return QStringLiteral(KS_SCREENSHOT_DIR "/") + QLatin1String(file);
}

// The puzzles of tests/data/killer.txt, in file order: per puzzle its layout, solution and id.
inline std::vector<QStringList> test_puzzles() {
  std::vector<QStringList> out;
  QFile f(QStringLiteral(KS_TEST_DATA "/killer.txt"));
  if (!f.open(QIODevice::ReadOnly)) return out;
  while (!f.atEnd()) {
    const QString line = QString::fromUtf8(f.readLine()).trimmed();
    if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) continue;
    out.push_back(line.split(QLatin1Char('|')));
  }
  return out;
}

// The program as a window test drives it: the runtime, the main window's model and the views of
// its windows. start() runs the start-up with the log window hidden; show() shows the main window
// and tells whether it appeared; stop() ends it all, the views first.
struct Program {
  std::unique_ptr<view::QtRuntime> rt;
  std::unique_ptr<Main> m;
  std::unique_ptr<view::View> view;

  void start() {
    view::apply_look(*qApp);
    rt = std::make_unique<view::QtRuntime>();
    m = std::make_unique<Main>(*rt);
    view = std::make_unique<view::View>(
        m->form, std::vector<Form*>{&m->frmlog.form, &m->frmgeneratore.form, &m->frmlivello.form});
    m->Form_Load();
    m->frmlog.Hide();
  }
  bool show() {
    m->form.Show();
    view->flush();
    return QTest::qWaitForWindowExposed(&view->main_window());
  }
  void stop() {
    view.reset();
    m.reset();
    rt.reset();
  }
  view::FormWindow& main_window() const { return view->main_window(); }
};

}  // namespace ks::gui_test
