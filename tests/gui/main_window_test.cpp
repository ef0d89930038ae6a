// The real windows, offscreen: layout from the model, input to the model, model changes on the
// screen, timers, the log, toolbars, printing, and screenshots for judging the look.
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTimer>
#include <QToolBar>
#include <QtTest>
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "board/main.h"
#include "gui_support.h"

using ks::Main;
using ks::view::FormWindow;

using ks::gui_test::Puzzle;
using ks::gui_test::shot;

namespace {
Puzzle first_puzzle() { return ks::gui_test::puzzle("dt-1"); }
}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private:
  ks::gui_test::Program p_;
  // The program's runtime, main window and views, as started by p_.
  ks::view::QtRuntime* rt_ = nullptr;
  Main* m_ = nullptr;
  ks::view::View* view_ = nullptr;

  FormWindow& main_window() const { return view_->main_window(); }
  FormWindow& log_window() const { return *view_->window(m_->frmlog.form); }
  template <class W = QWidget>
  W* find(const char* name) const {
    return main_window().findChild<W*>(QString::fromLatin1(name));
  }
  void load(const Puzzle& p) { p_.load(p); }
  [[nodiscard]] bool settle() const { return p_.settle(); }

 private slots:
  void initTestCase() {
    p_.start(/*with_log=*/true);
    rt_ = p_.rt.get();
    m_ = p_.m.get();
    view_ = p_.view.get();
    QVERIFY(p_.show());
    main_window().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&main_window()));
    QVERIFY(settle());
  }

  void cleanupTestCase() { p_.stop(); }

  void everyControlSitsWhereTheModelPutsIt() {
    QCOMPARE(find("Text1(40)")->geometry(), QRect(213, 255, 36, 36));
    QCOMPARE(find("Text2(40)")->geometry(), QRect(214, 262, 35, 28));
    QCOMPARE(find("colore(3)")->geometry(), QRect(86, 503, 20, 20));
    QVERIFY(find("Label2(0)") == nullptr);  // the squares and lines are painted by the canvas
    QVERIFY(main_window().canvas().width() >= 700 && main_window().canvas().height() >= 580);
    int widgets = 0;
    for (const ks::Control* c : m_->form.controls()) {
      QWidget* w = main_window().canvas().findChild<QWidget*>(ks::view::object_name(*c));
      if (c->kind() == ks::ControlKind::Label || c->kind() == ks::ControlKind::Line) continue;
      QVERIFY2(w, qPrintable(ks::view::object_name(*c)));
      QCOMPARE(w->geometry(), QRect(c->left(), c->top(), c->width(), c->height()));
      QCOMPARE(w->isVisibleTo(&main_window().canvas()), c->visible());
      ++widgets;
    }
    QVERIFY(widgets > 4 * 81);
    for (int i = 0; i < 81; ++i) QVERIFY(!find(qPrintable(QStringLiteral("Text2(%1)").arg(i)))->isVisible());
  }

  // The controls stand at fixed places and there are no scroll bars: the main window (and the
  // level chooser, laid out the same way) has the one size that holds the menu bar, the toolbars
  // and every control, and keeps it; the log window's text fills it at any size.
  void aFixedLayoutKeepsTheSizeThatHoldsIt() {
    FormWindow& mw = main_window();
    QCOMPARE(mw.minimumSize(), mw.maximumSize());
    QCOMPARE(mw.size(), mw.minimumSize());
    const QWidget& canvas = mw.canvas();
    QVERIFY(mw.rect().contains(canvas.geometry()));
    for (const ks::Control* c : m_->form.controls()) {
      const QRect place(c->left(), c->top(), c->width(), c->height());
      if (!place.isEmpty()) QVERIFY2(canvas.rect().contains(place), qPrintable(ks::view::object_name(*c)));
    }
    QVERIFY(mw.rect().contains(mw.menuBar()->geometry()));
    for (QAction* a : mw.menuBar()->actions())
      QVERIFY2(mw.menuBar()->rect().contains(mw.menuBar()->actionGeometry(a)), qPrintable(a->text()));
    for (auto* bar : mw.findChildren<QToolBar*>()) {
      QVERIFY(mw.rect().contains(bar->geometry()));
      QVERIFY2(!bar->geometry().intersects(canvas.geometry()), qPrintable(bar->objectName()));
      QVERIFY2(bar->width() >= bar->sizeHint().width(), qPrintable(bar->objectName()));
    }

    struct Case {
      QWidget* window;
      bool fixed;
    };
    for (const Case& k : {Case{&mw, true}, Case{view_->window(m_->frmlivello.form), true},
                          Case{&log_window(), false}}) {
      const QSize size = k.window->size();
      k.window->resize(size - QSize(200, 150));
      k.window->resize(size + QSize(300, 200));
      QTRY_COMPARE(k.window->size() == size, k.fixed);
      k.window->resize(size);
      QTRY_COMPARE(k.window->size(), size);
    }
  }

  void startupScreenshots() {
    QCOMPARE(main_window().windowTitle(), QStringLiteral("Killer Sudoku"));
    QVERIFY(log_window().isVisible());
    QCOMPARE(log_window().windowTitle(), QStringLiteral("log attività"));
    QVERIFY(log_window().x() > main_window().x());  // beside it, as far as the screen allows
    auto* log = log_window().findChild<QPlainTextEdit*>(QStringLiteral("Text3"));
    QVERIFY(log && log->isReadOnly());
    QVERIFY(log->toPlainText().startsWith(QStringLiteral("Per inserire un nuovo schema")));
    QCOMPARE(log->document()->blockCount(), 5);
    QVERIFY(main_window().grab().save(shot("main.png")));
    QVERIFY(log_window().grab().save(shot("log.png")));
  }

  void menusShowTheModelsItems() {
    QStringList titles;
    for (QAction* a : main_window().menuBar()->actions()) titles << a->text();
    QCOMPARE(titles, (QStringList{"File", "Visualizza", "Suggerimenti", "Strumenti", "Generatore"}));
    auto* number = main_window().findChild<QAction*>(QStringLiteral("mnunumber"));
    const auto wired = m_->mnunumber.on_click;
    int chosen = 0;
    m_->mnunumber.on_click = [&] { ++chosen; };
    number->trigger();
    QCOMPARE(chosen, 1);
    m_->mnunumber.on_click = wired;

    // A command this program does not have is disabled: it cannot be triggered, and it is drawn
    // with the faded text of what cannot be used.
    auto* quick = main_window().findChild<QAction*>(QStringLiteral("mnuquick"));
    QCOMPARE(quick->text(), QStringLiteral("Veloce"));
    QVERIFY(!quick->isEnabled());
    m_->mnuquick.on_click = [&] { ++chosen; };
    quick->trigger();
    QCOMPARE(chosen, 1);
    m_->mnuquick.on_click = nullptr;
    const QPalette pal = main_window().menuBar()->palette();
    QVERIFY(pal.color(QPalette::Disabled, QPalette::Text) != pal.color(QPalette::Active, QPalette::Text));
    QVERIFY(pal.color(QPalette::Disabled, QPalette::ButtonText) !=
            pal.color(QPalette::Active, QPalette::ButtonText));

    // The tick is the model's: set by the model, and not toggled by a click that leaves it.
    auto* refresh = main_window().findChild<QAction*>(QStringLiteral("mnurefresh"));
    m_->mnurefresh.set_checked(true);
    QVERIFY(settle());
    QVERIFY(refresh->isChecked());
    refresh->trigger();
    QVERIFY(refresh->isChecked());
    m_->mnurefresh.set_checked(false);
    m_->mnuxwing.set_enabled(false);
    QVERIFY(settle());
    QVERIFY(!refresh->isChecked());
    QVERIFY(!main_window().findChild<QAction*>(QStringLiteral("mnuxwing"))->isEnabled());
    m_->mnuxwing.set_enabled(true);
  }

  void clicksKeysAndFocusReachTheModel() {
    QWidget* cell = find("Text1(40)");
    // The program's own handlers come back afterwards.
    const auto click40 = m_->Text1[40].on_click;
    const auto key40 = m_->Text1[40].on_key_down;
    const auto lost40 = m_->Text1[40].on_lost_focus;
    const auto move0 = m_->Text1[0].on_mouse_move;
    const auto colour3 = m_->colore[3].on_click;
    const auto frame = m_->Frame1.on_dbl_click;
    int clicked = 0, lost = 0, moved = 0, colour = 0, doubled = 0;
    std::vector<int> keys;
    m_->Text1[40].on_click = [&] { ++clicked; };
    m_->Text1[40].on_key_down = [&](int k) { keys.push_back(k); };
    m_->Text1[40].on_lost_focus = [&] { ++lost; };
    m_->Text1[0].on_mouse_move = [&] { ++moved; };
    m_->colore[3].on_click = [&] { ++colour; };
    m_->Frame1.on_dbl_click = [&] { ++doubled; };

    QTest::mouseClick(cell, Qt::LeftButton);
    QCOMPARE(clicked, 1);
    QCOMPARE(m_->form.focused(), &m_->Text1[40]);
    QTest::keyClick(cell, Qt::Key_5);
    QTest::keyClick(cell, Qt::Key_Left);
    QCOMPARE(m_->Text1[40].text(), std::string("5"));
    QCOMPARE(keys, (std::vector<int>{53, 37}));
    QTest::mouseClick(find("Text1(41)"), Qt::LeftButton);
    QCOMPARE(m_->form.focused(), &m_->Text1[41]);
    QCOMPARE(lost, 1);
    QTest::mouseMove(find("Text1(0)"));
    QTRY_VERIFY(moved > 0);
    QTest::mouseClick(find("colore(3)"), Qt::LeftButton);
    QCOMPARE(colour, 1);
    QTest::mouseDClick(find("Frame1"), Qt::LeftButton);
    QCOMPARE(doubled, 1);

    // The typed digit ran the cell's change handler, which counts the filled cells.
    QVERIFY(settle());
    QCOMPARE(find<QLineEdit>("txtesposti")->text(), QStringLiteral("1"));
    // Locked boxes take no typing.
    QTest::keyClicks(find("txtvuoti"), QStringLiteral("7"));
    QCOMPARE(m_->txtvuoti.text(), std::string("80"));

    m_->Text1[40].on_click = click40;
    m_->Text1[40].on_key_down = key40;
    m_->Text1[40].on_lost_focus = lost40;
    m_->Text1[0].on_mouse_move = move0;
    m_->colore[3].on_click = colour3;
    m_->Frame1.on_dbl_click = frame;
    m_->Text1[40].set_text("");
  }

  void modelChangesAppearOnScreen() {
    m_->txthint.set_text("prova di suggerimento");
    m_->txthint.set_visible(true);
    m_->Pictgo.set_visible(true);
    m_->Text1[10].set_back_color(m_->giallo);
    m_->Text1[20].set_focus();
    QVERIFY(!find("Pictgo")->isVisible());  // nothing is drawn while the core works
    QVERIFY(settle());
    QVERIFY(find("Pictgo")->isVisible());
    QCOMPARE(find<QLineEdit>("txthint")->text(), QStringLiteral("prova di suggerimento"));
    QCOMPARE(find("Text1(10)")->grab().toImage().pixelColor(18, 30), QColor(Qt::yellow));
    QVERIFY(find("Text1(20)")->hasFocus());

    m_->txthint.set_visible(false);
    m_->Pictgo.set_visible(false);
    m_->Text1[10].set_back_color(m_->bianco);
    QVERIFY(settle());
    QVERIFY(!find("Pictgo")->isVisible());
  }

  void timersTickOnlyWhileEnabled() {
    int ticks = 0;
    m_->Timer1.on_timer = [&] { ++ticks; };
    m_->Timer1.set_interval(10);
    m_->Timer1.set_enabled(true);
    QTRY_VERIFY(ticks >= 2);
    m_->Timer1.set_enabled(false);
    QVERIFY(settle());
    const int stopped = ticks;
    QTest::qWait(50);  // a fixed time on purpose: no tick comes within five intervals
    QCOMPARE(ticks, stopped);
    m_->Timer1.on_timer = nullptr;
  }

  void logShowsAppendedLinesAndReplacements() {
    auto* log = log_window().findChild<QPlainTextEdit*>(QStringLiteral("Text3"));
    const int blocks = log->document()->blockCount();
    for (int i = 0; i < 2000; ++i) m_->log_line("riga " + std::to_string(i));
    QVERIFY(settle());
    QCOMPARE(log->document()->blockCount(), blocks + 2000);
    QCOMPARE(log->document()->lastBlock().text(), QStringLiteral("riga 1999"));
    QCOMPARE(log->toPlainText(), QString::fromStdString(m_->frmlog.Text3.text()).remove(QLatin1Char('\r')));
    m_->frmlog.Text3.set_text(" ");
    QVERIFY(settle());
    QCOMPARE(log->toPlainText(), QStringLiteral(" "));
  }

  // The toolbars as the program fills them: every button with its tool-tip and state, and
  // clicks on them running their commands in the real window.
  void toolbarButtonsRunTheirCommands() {
    for (ks::Toolbar* t : {&m_->Toolbar1, &m_->Toolbar2}) {
      auto* bar = main_window().findChild<QToolBar*>(QString::fromStdString(t->name()));
      QVERIFY(bar && bar->isVisible());
      for (int n = 1; n <= t->count(); ++n) {
        const ks::ToolbarButton& b = t->button(n);
        if (b.style != ks::ButtonStyle::Button) continue;
        auto* a = bar->findChild<QAction*>(QString::fromStdString(b.key));
        QVERIFY2(a, b.key.c_str());
        QCOMPARE(a->toolTip(), QString::fromStdString(b.tool_tip));
        QCOMPARE(a->isEnabled(), b.enabled);
        QCOMPARE(a->isVisible(), b.visible);
        QVERIFY2(!a->icon().isNull(), b.key.c_str());
      }
    }
    const auto click = [this](const char* bar, const char* key) {
      auto* tb = main_window().findChild<QToolBar*>(QLatin1String(bar));
      QTest::mouseClick(tb->findChild<QWidget*>(QLatin1String(key)), Qt::LeftButton);
      QVERIFY(settle());
    };

    m_->filetxt.set_text("");
    click("Toolbar2", "new");
    QCOMPARE(m_->filetxt.text(), std::string(" nuovo schema"));
    QCOMPARE(find<QLineEdit>("filetxt")->text(), QStringLiteral(" nuovo schema"));
    m_->Text1[30].set_text("4");
    click("Toolbar1", "pencil");
    QVERIFY(m_->mnupencil.checked());
    QVERIFY(find("Text2(0)")->isVisible() && !find("Text2(30)")->isVisible());
    click("Toolbar1", "pencil");
    QVERIFY(!m_->mnupencil.checked());
    QVERIFY(!find("Text2(0)")->isVisible());
    click("Toolbar1", "numero");
    QVERIFY(find("Text5")->isVisible());
    click("Toolbar1", "numero");
    QVERIFY(!find("Text5")->isVisible());
    m_->Text1[30].set_text("");

    // The developer switch shows batch generation on the file toolbar.
    auto* continuo = main_window().findChild<QAction*>(QStringLiteral("continuo"));
    QVERIFY(!continuo->isVisible() && !continuo->isEnabled());
    QTest::mouseDClick(find("Frame1"), Qt::LeftButton);
    QVERIFY(settle());
    QVERIFY(continuo->isVisible() && continuo->isEnabled());
    QVERIFY(find("Command1")->isVisible());
    QVERIFY(main_window().grab().save(shot("toolbars.png")));
    QTest::mouseDClick(find("Frame1"), Qt::LeftButton);
    QVERIFY(settle());
    QVERIFY(!continuo->isVisible());

    // Print asks for a printer; here the dialog is cancelled.
    bool asked = false;
    ks::gui_test::NextDialog printer([&asked](QWidget* w) {
      if (auto* d = qobject_cast<QDialog*>(w)) {
        asked = true;
        d->reject();
      }
    });
    click("Toolbar2", "print");
    QVERIFY(asked);
  }

  // A puzzle from its layout text, as the library loads it: cages outlined, sums on the lowest
  // cell of each cage, first candidates from each cage's size and sum.
  void loadedPuzzleScreenshot() {
    const Puzzle p = first_puzzle();
    QVERIFY(!p.layout.empty());
    load(p);
    QVERIFY(!m_->problema);
    QVERIFY(settle());
    QVERIFY(find("textsomma(0)")->isVisible());
    QCOMPARE(find("textsomma(0)")->pos(), QPoint(34, 70));
    QVERIFY(main_window().grab().save(shot("loaded.png")));
  }

  // The pencil marks of the loaded puzzle, shown by the technique toolbar's first button.
  void pencilMarksScreenshot() {
    auto* bar = main_window().findChild<QToolBar*>(QStringLiteral("Toolbar1"));
    QTest::mouseClick(bar->findChild<QWidget*>(QStringLiteral("pencil")), Qt::LeftButton);
    QVERIFY(settle());
    QVERIFY(m_->mnupencil.checked());
    QVERIFY(find("Text2(0)")->isVisible());
    QVERIFY(!find("Text1(0)")->isVisible());
    QVERIFY(main_window().grab().save(shot("pencil.png")));
    QTest::mouseClick(bar->findChild<QWidget*>(QStringLiteral("pencil")), Qt::LeftButton);
    QVERIFY(settle());
    QVERIFY(!find("Text2(0)")->isVisible());
  }

  // The classic eliminations from the technique toolbar, with the pencil marks showing: "pair"
  // and "obbligate" each stop at the traffic light with the step's cells highlighted, and the
  // green light applies the step.
  void eliminationStepsScreenshots() {
    load(first_puzzle());
    m_->mnupencil_Click();
    auto* bar = main_window().findChild<QToolBar*>(QStringLiteral("Toolbar1"));
    for (const char* key : {"pair", "obbligate"}) {
      const std::string name = std::string(key) + "_step.png";
      std::string before;
      for (int i = 0; i < 81; ++i) before += m_->Text2[i].text() + ",";
      int highlighted = 0;
      std::string hint;
      ks::gui_test::Player player(p_);
      player.on_step = [&] {
        if (player.steps > 1) return;
        hint = m_->txthint.text();
        for (int i = 0; i < 81; ++i)
          if (find(qPrintable(QStringLiteral("Text2(%1)").arg(i)))->grab().toImage().pixelColor(2, 2) ==
              QColor(Qt::yellow))
            ++highlighted;
        main_window().grab().save(shot(name.c_str()));
      };
      QTest::mouseClick(bar->findChild<QWidget*>(QLatin1String(key)), Qt::LeftButton);
      QCOMPARE(player.steps, 1);
      QVERIFY2(highlighted >= 2, hint.c_str());
      QVERIFY2(!hint.empty(), key);
      QVERIFY(m_->modificato);
      std::string after;
      for (int i = 0; i < 81; ++i) after += m_->Text2[i].text() + ",";
      QVERIFY2(after != before, key);
      QVERIFY(settle());
      QVERIFY(!find("Pictgo")->isVisible());
      QCOMPARE(find<QLineEdit>("txthint")->text(), QString::fromStdString(m_->txthint.text()));
    }
    m_->mnupencil_Click();
    QVERIFY(settle());
  }

  // A step of the technique toolbar waits at the traffic light, the window still answering,
  // until the player clicks the green light; then the step is applied.
  void aStepWaitsForTheGreenLight() {
    load(first_puzzle());
    auto* bar = main_window().findChild<QToolBar*>(QStringLiteral("Toolbar1"));
    // One call can hold several findings, each waiting at the light: the player clicks green
    // every time the light shows.
    bool lights = false;
    std::string hint;
    ks::gui_test::Player player(p_);
    player.on_step = [&] {
      lights = find("Pictgo")->isVisible() && find("Pictalt")->isVisible();
      hint = m_->txthint.text();
      if (player.steps == 1) main_window().grab().save(shot("step.png"));
    };
    QTest::mouseClick(bar->findChild<QWidget*>(QStringLiteral("somme")), Qt::LeftButton);
    QVERIFY(player.steps > 0);
    QCOMPARE(player.messages, std::vector<std::string>{});
    QVERIFY(lights);
    QVERIFY2(!hint.empty(), hint.c_str());
    QCOMPARE(m_->scelta, std::string("si"));
    QVERIFY(m_->modificato);
    QVERIFY(!m_->Pictgo.visible());
    QVERIFY(settle());
    QVERIFY(!find("Pictgo")->isVisible());
  }

  // "somme" on the file toolbar opens the cage information window; with pencil marks on, a click
  // on a candidate box shows that cell's cage there and leaves the board as it is.
  void cageInformationWindowScreenshot() {
    auto* bar = main_window().findChild<QToolBar*>(QStringLiteral("Toolbar2"));
    QTest::mouseClick(bar->findChild<QWidget*>(QStringLiteral("calcola")), Qt::LeftButton);
    FormWindow& window = *view_->window(m_->frmgeneratore.form);
    QTRY_VERIFY(window.isVisible());
    QCOMPARE(m_->Check2.value(), 1);
    m_->mnupencil_Click();
    QVERIFY(settle());
    const std::string before = m_->Text2[9].text();
    QTest::mouseClick(find("Text2(9)"), Qt::LeftButton);
    QVERIFY(settle());
    QCOMPARE(m_->frmgeneratore.Text1.text(),
             std::string("gruppo 6\r\nsomma 3\r\nelementi 2\r\nsomme:\r\n12"));
    QCOMPARE(m_->Text2[9].text(), before);
    QVERIFY(find("Text2(9)")->isVisible());
    QVERIFY(window.grab().save(shot("cage_window.png")));
    m_->mnupencil_Click();
    m_->Check2.set_value(0);
    m_->frmgeneratore.Hide();
    QVERIFY(settle());
  }

  // Play with the mouse: a click on a cell opens the digit palette around it, a click on a digit
  // places it; the last cell clicked keeps its palette open for the screenshot.
  void playWithThePaletteScreenshot() {
    const Puzzle p = first_puzzle();
    for (int cell : {0, 1, 3, 4, 13, 10, 19, 28, 37}) {
      QTest::mouseClick(find(qPrintable(QStringLiteral("Text1(%1)").arg(cell))), Qt::LeftButton);
      const QString digit = QStringLiteral("Picture1(") + QChar::fromLatin1(p.solution[static_cast<size_t>(cell)]) + ')';
      QTRY_VERIFY(find(qPrintable(digit))->isVisible());
      QTest::mouseClick(find(qPrintable(digit)), Qt::LeftButton);
      QVERIFY(settle());
      QCOMPARE(m_->Text1[cell].text(), p.solution.substr(static_cast<size_t>(cell), 1));
    }
    QVERIFY(!m_->problema);
    QCOMPARE(find<QLineEdit>("txtesposti")->text(), QStringLiteral("9"));
    QTest::mouseClick(find("Text1(41)"), Qt::LeftButton);
    QTRY_VERIFY(find("Picture1(5)")->isVisible());
    QVERIFY(settle());
    QVERIFY(main_window().grab().save(shot("play.png")));
  }

  // A digit the cell cannot hold shows "  numero errato" on the hint line and leaves the palette
  // open; around a cell of row 1 the ring reaches up over the hint line, and every picture of
  // it stays on top there, to be seen and clicked.
  void theRingOfARowOneCellStandsOverTheHintLine() {
    const Puzzle p = first_puzzle();
    load(p);
    m_->Text1[4].set_text(p.solution.substr(4, 1));  // r1c5: r1c4 can no longer hold its digit
    QVERIFY(settle());
    constexpr int kCell = 3;
    QTest::mouseClick(find("Text1(3)"), Qt::LeftButton);
    const QString wrong = QStringLiteral("Picture1(") + QChar::fromLatin1(p.solution[4]) + ')';
    QTRY_VERIFY(find(qPrintable(wrong))->isVisible());
    QTest::mouseClick(find(qPrintable(wrong)), Qt::LeftButton);
    QVERIFY(settle());
    QCOMPARE(find<QLineEdit>("txthint")->text(), QStringLiteral("  numero errato"));
    QWidget* hint = find("txthint");
    QVERIFY(hint->isVisible());

    QWidget& canvas = main_window().canvas();
    int over_hint = 0;
    for (int k = 0; k < 10; ++k) {
      QWidget* pic = find(qPrintable(QStringLiteral("Picture1(%1)").arg(k)));
      QVERIFY(pic->isVisible());
      const QPoint centre = pic->geometry().center();
      QCOMPARE(canvas.childAt(centre), pic);
      if (hint->geometry().contains(centre)) ++over_hint;
    }
    QVERIFY(over_hint >= 2);
    QVERIFY(main_window().grab().save(shot("ring_over_hint.png")));

    // The cell's digit is 1, above the cell and on the hint line: a click where it shows places it.
    const int digit = p.solution[kCell] - '0';
    QWidget* pic = find(qPrintable(QStringLiteral("Picture1(%1)").arg(digit)));
    const QPoint centre = pic->geometry().center();
    QVERIFY(hint->geometry().contains(centre));
    QWidget* hit = canvas.childAt(centre);
    QVERIFY(hit);
    QTest::mouseClick(hit, Qt::LeftButton, {}, hit->mapFrom(&canvas, centre));
    QCOMPARE(m_->Text1[kCell].text(), p.solution.substr(kCell, 1));
    QVERIFY(settle());
    QVERIFY(!pic->isVisible());
  }

  // The "45" button on a loaded puzzle: the rule of 45 shows its step at the traffic light with
  // the cell highlighted, and the green light places the digit.
  void ruleOf45ButtonPlacesADigit() {
    const Puzzle p = first_puzzle();
    load(p);
    QVERIFY(settle());
    auto* button = find<QPushButton>("Command3");
    QVERIFY(button && button->isVisible());
    QCOMPARE(button->text(), QStringLiteral("45"));
    QCOMPARE(button->toolTip(), QStringLiteral("regola 45"));

    std::string hint;
    int cell = -1;
    {
      ks::gui_test::Player player(p_);
      player.on_step = [&] {
        hint = m_->txthint.text();
        for (int i = 0; i < 81; ++i)
          if (m_->Text1[i].back_color() == m_->giallo) cell = i;
        main_window().grab().save(shot("rule45_step.png"));
      };
      QTest::mouseClick(button, Qt::LeftButton);
      QCOMPARE(player.steps, 1);
    }
    QVERIFY2(QString::fromStdString(hint).startsWith(QStringLiteral("REGOLA 45, naked single ")),
             hint.c_str());
    QVERIFY(cell >= 0);
    const QString digit = QString(QChar::fromLatin1(p.solution[static_cast<size_t>(cell)]));
    QCOMPARE(QString::fromStdString(m_->Text1[cell].text()), digit);
    QVERIFY(m_->modificato);
    QVERIFY(settle());
    QVERIFY(find(qPrintable(QStringLiteral("Text1(%1)").arg(cell)))->isVisible());
    QVERIFY(!find("Pictgo")->isVisible());
    QVERIFY(main_window().grab().save(shot("rule45.png")));
  }

  // "gruppi" on the technique toolbar, with the pencil marks on: the first press places a digit
  // by the rule of 45, the next one shows a derived cage at the traffic light with its two cells
  // highlighted, and the green light cuts their candidates.
  void gruppiButtonStepsThroughADerivedCage() {
    const Puzzle p = first_puzzle();
    load(p);
    m_->mnupencil_Click();
    QVERIFY(settle());
    auto* bar = main_window().findChild<QToolBar*>(QStringLiteral("Toolbar1"));
    std::vector<std::string> hints;
    std::vector<int> yellow;
    auto player = std::make_unique<ks::gui_test::Player>(p_);
    player->on_step = [&] {
      hints.push_back(m_->txthint.text());
      if (hints.back().starts_with("NUOVO GRUPPO ") && yellow.empty()) {
        for (int i = 0; i < 81; ++i)
          if (m_->Text1[i].back_color() == m_->giallo && m_->Text2[i].back_color() == m_->giallo)
            yellow.push_back(i);
        main_window().grab().save(shot("derived_step.png"));
      }
    };
    QTest::mouseClick(bar->findChild<QWidget*>(QStringLiteral("gruppi")), Qt::LeftButton);
    QCOMPARE(hints.size(), size_t{1});
    QVERIFY2(hints[0].starts_with("REGOLA 45, naked single "), hints[0].c_str());
    QTest::mouseClick(bar->findChild<QWidget*>(QStringLiteral("gruppi")), Qt::LeftButton);
    player.reset();
    QVERIFY(hints.size() >= 2);
    QVERIFY2(hints[1].starts_with("NUOVO GRUPPO "), hints[1].c_str());
    QCOMPARE(yellow.size(), size_t{2});
    QVERIFY(m_->modificato);
    QVERIFY(!m_->problema);
    for (const int c : yellow) {
      const std::string& now = m_->Text2[c].text();
      QVERIFY2(now.size() < 9, now.c_str());
      QVERIFY(now.find(p.solution[static_cast<size_t>(c)]) != std::string::npos);
      QVERIFY(m_->Text2[c].back_color() != m_->giallo);
    }
    QVERIFY(QString::fromStdString(m_->txthint.text()).startsWith(QStringLiteral("CONTROLLO SOMME - ")));
    QVERIFY(settle());
    QVERIFY(!find("Pictgo")->isVisible());
    QVERIFY(main_window().grab().save(shot("derived.png")));
    m_->mnupencil_Click();
    QVERIFY(settle());
  }

  void printsTheWindowToPdf() {
    const QString pdf = shot("main.pdf");
    QFile::remove(pdf);
    QVERIFY(rt_->print_form_to_pdf(m_->form, pdf));
    QVERIFY(QFileInfo(pdf).size() > 1000);
    // One page: one page object, and a page tree that counts one.
    QFile f(pdf);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QString text = QString::fromLatin1(f.readAll());
    QCOMPARE(text.count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?!s)"))), 1);
    QVERIFY(text.contains(QRegularExpression(QStringLiteral("/Count\\s+1\\b"))));
  }

  // "stampa" answered three ways in its print dialog: cancelled, nothing is said; a PDF file in
  // a folder that does not exist, the print fails and the player is told; a PDF file that can be
  // written, the page is printed and nothing is said.
  void aPrintIsToldOnlyWhenItFails() {
    const QString printed = shot("printed.pdf");
    QFile::remove(printed);
    const QString nowhere = QDir::tempPath() + QStringLiteral("/ks-no-such-folder/printed.pdf");
    QVERIFY(!QFileInfo::exists(QFileInfo(nowhere).path()));
    struct Answer {
      const char* what;
      QString file;  // "" to cancel the dialog
      QStringList told;
    };
    const std::vector<Answer> answers = {
        {"cancelled", QString(), {}},
        {"a folder that does not exist", nowhere, {QStringLiteral("stampa non riuscita")}},
        {"a file that can be written", printed, {}},
    };
    for (const Answer& a : answers) {
      QStringList told;
      bool asked = false;
      QTimer player;
      QObject::connect(&player, &QTimer::timeout, [&] {
        QWidget* w = QApplication::activeModalWidget();
        if (auto* d = qobject_cast<QPrintDialog*>(w)) {
          asked = true;
          if (a.file.isEmpty()) {
            d->reject();
            return;
          }
          d->printer()->setOutputFileName(a.file);
          d->done(QDialog::Accepted);
        } else if (auto* box = qobject_cast<QMessageBox*>(w)) {
          told << box->text();
          QVERIFY(box->grab().save(shot("print_failed.png")));
          box->defaultButton()->click();
        }
      });
      player.start(20);
      QTest::mouseClick(p_.button("Toolbar2", "print"), Qt::LeftButton);
      QVERIFY2(asked, a.what);
      QCOMPARE(told, a.told);
    }
    QVERIFY(QFileInfo(printed).size() > 1000);
  }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
