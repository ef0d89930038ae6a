// Shared set-up of the window tests: the program started on the Qt runtime with its windows
// offscreen, the folder the screenshots go to, the test puzzles, and the player who answers the
// traffic light and the message boxes.
#pragma once

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QString>
#include <QTimer>
#include <QToolBar>
#include <QtTest>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "board/main.h"
#include "library/level_chooser.h"
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

// One puzzle by its id ("dt-1").
struct Puzzle {
  std::string layout, solution, id;
};
inline Puzzle puzzle(const char* id) {
  for (const QStringList& p : test_puzzles())
    if (p.size() == 3 && p[2] == QLatin1String(id))
      return {p[0].toStdString(), p[1].toStdString(), p[2].toStdString()};
  return {};
}

// The program as a window test drives it: the runtime, the main window's model and the views of
// its windows. start() runs the start-up, with the log window hidden unless asked for; show()
// shows the main window and tells whether it appeared and the view caught up; stop() ends it all,
// the views first. At every yield that lets events run, and at the stop, the board index is
// checked against the boxes: the test fails at the first check where they disagree.
struct Program {
  std::unique_ptr<view::QtRuntime> rt;
  std::unique_ptr<Main> m;
  std::unique_ptr<view::View> view;

  void start(bool with_log = false) {
    view::apply_look(*qApp);
    rt = std::make_unique<view::QtRuntime>();
    m = std::make_unique<Main>(*rt);
    rt->check_at_yield = [this] { check_index(); };
    view = std::make_unique<view::View>(
        m->form, std::vector<Form*>{&m->frmlog.form, &m->frmgeneratore.form, &m->frmlivello.form});
    rt->set_form_widgets([this](Form& f) -> QWidget* {
      view::FormWindow* w = view->window(f);
      return w ? &w->canvas() : nullptr;
    });
    m->Form_Load();
    if (!with_log) m->frmlog.Hide();
  }
  bool show() {
    m->form.Show();
    view->flush();
    return QTest::qWaitForWindowExposed(&view->main_window()) && settle();
  }
  void stop() {
    check_index();
    view.reset();
    m.reset();
    rt.reset();
  }
  view::FormWindow& main_window() const { return view->main_window(); }

  template <class W = QWidget>
  W* find(const QString& name) const {
    return main_window().findChild<W*>(name);
  }
  // The widget of a control of an array by its index: cell("Text1", 3) is "Text1(3)".
  QWidget* cell(const char* name, int i) const {
    return find(QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(i));
  }
  // The button of a toolbar by its key.
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
  // Lets the view catch up with the model: runs what the input already queued, then waits until
  // no window has a change waiting for its batched repaint, again until running the queued
  // events leaves none. False when the view is still behind after kSettleMs.
  [[nodiscard]] bool settle() const {
    QDeadlineTimer deadline(kSettleMs);
    for (;;) {
      QCoreApplication::processEvents();
      if (!view->pending()) return true;
      const int left = static_cast<int>(deadline.remainingTime());
      if (left <= 0 || !QTest::qWaitFor([this] { return !view->pending(); }, left)) return false;
    }
  }
  // How long settle() waits at most: far beyond a repaint on the busiest machine.
  static constexpr int kSettleMs = 10000;

 private:
  void check_index() {
    if (index_told_ || !m) return;
    const std::string why = m->board_index().check(m->Text1, m->Text2);
    if (why.empty()) return;
    index_told_ = true;
    QTest::qFail(("the board index disagrees with the boxes: " + why).c_str(), __FILE__, __LINE__);
  }
  bool index_told_ = false;
};

// While it lives, the player answers what the program asks: every step waiting at the traffic
// light gets the green light (or the red one when `answer` says false), every message box its
// default button (its text is kept).
//
// A step is answered once the window shows it (the light on screen, no repaint pending), so
// that on_step sees and grabs the step whole. Each wait of the step gate counts once: the core
// counts the steps it shows (board_index().steps_shown()), and a wait is known by that count, so
// neither a tick that comes again before the program took the click nor two steps shown
// back to back without the light going off in between are miscounted. A tick that comes while
// on_step runs (on_step may wait for the view) does nothing.
class Player {
 public:
  explicit Player(Program& p, std::function<bool()> answer = [] { return true; })
      : p_(p), answer_(std::move(answer)) {
    QObject::connect(&timer_, &QTimer::timeout, [this] { tick(); });
    timer_.start(kTickMs);
  }
  int steps = 0;
  std::vector<std::string> messages;
  std::function<void()> on_step;  // runs while a step waits, before the answer

 private:
  static constexpr int kTickMs = 20;

  void tick() {
    if (busy_) return;
    busy_ = true;
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      messages.push_back(box->text().toStdString());
      // The default button's click is its answer (accept() would read as neither OK nor Cancel).
      if (QPushButton* b = box->defaultButton())
        b->click();
      else
        box->accept();
    }
    if (p_.m->Pictgo.visible() && !p_.view->pending() && p_.find(QStringLiteral("Pictgo"))->isVisible()) {
      if (const long wait = p_.m->board_index().steps_shown(); wait != answered_) {
        answered_ = wait;
        ++steps;
        go_ = answer_();
        if (on_step) on_step();
      }
      QTest::mouseClick(p_.find(go_ ? QStringLiteral("Pictgo") : QStringLiteral("Pictalt")), Qt::LeftButton);
    }
    busy_ = false;
  }

  Program& p_;
  std::function<bool()> answer_;
  QTimer timer_;
  bool busy_ = false;
  long answered_ = -1;  // the steps_shown() of the wait last answered
  bool go_ = true;      // that wait's answer
};

// Answers the next modal dialog the program shows, whenever it comes up: `answer` gets it, once.
class NextDialog {
 public:
  explicit NextDialog(std::function<void(QWidget*)> answer) : answer_(std::move(answer)) {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      QWidget* dialog = QApplication::activeModalWidget();
      if (!dialog || answered) return;
      answered = true;
      timer_.stop();
      answer_(dialog);
    });
    timer_.start(20);
  }
  bool answered = false;

 private:
  std::function<void(QWidget*)> answer_;
  QTimer timer_;
};

}  // namespace ks::gui_test
