// Playing in the real window, offscreen, as a player does: pencil marks and arrow keys, a puzzle
// entered by hand and stepped through, the last cage closed by a command, erasures, the restart
// question, candidates edited by hand, Italian dialogs, long hints.
#include <QAbstractButton>
#include <QLineEdit>
#include <QMenuBar>

#include "gui_support.h"

using ks::gui_test::Player;
using ks::gui_test::Program;
using ks::gui_test::puzzle;
using ks::gui_test::shot;

namespace {

void type_keys(const QString& keys) {
  for (const QChar c : keys) QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
}

}  // namespace

class PlayWindowTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<Program> w_;
  ks::Main& m() { return *w_->m; }

  // A cage entered with the editor: a colour, the cells clicked, the sum typed into its box.
  void enter_cage(int colour, std::initializer_list<int> cells, const char* sum) {
    QTest::mouseClick(w_->cell("colore", colour), Qt::LeftButton);
    for (const int c : cells) QTest::mouseClick(w_->cell("Text1", c), Qt::LeftButton);
    QVERIFY(w_->settle());
    QTest::mouseClick(w_->cell("textsomma", m().gruppi), Qt::LeftButton);
    type_keys(QLatin1String(sum));
  }

 private slots:
  void init() {
    w_ = std::make_unique<Program>();
    w_->start();
    QVERIFY(w_->show());
    w_->main_window().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w_->main_window()));
    QVERIFY(w_->settle());
  }
  void cleanup() {
    w_->stop();
    w_.reset();
  }

  // With pencil marks shown the arrow keys still move from cell to cell, and a digit typed lands
  // in the cell reached; after the pencil marks go the arrows go on working.
  void arrowKeysMoveWhateverBoxACellShows() {
    const auto p = puzzle("dt-1");
    w_->load(p);
    QTest::mouseClick(w_->button("Toolbar1", "pencil"), Qt::LeftButton);
    QVERIFY(w_->settle());
    QTest::mouseClick(w_->cell("Text2", 0), Qt::LeftButton);
    QVERIFY(w_->settle());
    type_keys(QString(QChar(p.solution[0])));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    QVERIFY(w_->settle());
    QVERIFY(!m().Picture1[0].visible());  // the palette of r1c1 closed as the cell was left
    QCOMPARE(QApplication::focusWidget(), w_->cell("Text1", 1));
    type_keys(QString(QChar(p.solution[1])));
    QCOMPARE(m().Text1[0].text(), std::string(1, p.solution[0]));
    QCOMPARE(m().Text1[1].text(), std::string(1, p.solution[1]));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QVERIFY(w_->settle());
    QVERIFY(w_->cell("Text2", 1 + 9) == nullptr || !w_->cell("Text2", 10)->isVisible());
    QVERIFY(w_->cell("Text1", 10)->hasFocus());
    QVERIFY(w_->main_window().grab().save(shot("pencil_arrows.png")));
    // Pencil marks off: the arrows still move, the typing follows.
    QTest::mouseClick(w_->button("Toolbar1", "pencil"), Qt::LeftButton);
    QVERIFY(w_->settle());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    QVERIFY(w_->settle());
    QCOMPARE(QApplication::focusWidget(), w_->cell("Text1", 2));
    type_keys(QString(QChar(p.solution[2])));
    QCOMPARE(m().Text1[2].text(), std::string(1, p.solution[2]));
  }

  // The cell the player typed in on the last puzzle is not typing on the next one: once the
  // pencil marks go on it shows its candidates like every other empty cell.
  void aNewPuzzleHasNoCellLeftOpenForTyping() {
    w_->load(puzzle("dt-1"));
    QTest::mouseClick(w_->cell("Text1", 20), Qt::LeftButton);
    QVERIFY(w_->settle());
    QVERIFY(w_->cell("Text1", 20)->hasFocus());
    w_->load(puzzle("dt-2"));
    QVERIFY(w_->settle());
    QTest::mouseClick(w_->button("Toolbar1", "pencil"), Qt::LeftButton);
    QVERIFY(w_->settle());
    for (int i = 0; i < 81; ++i) {
      QVERIFY2(w_->cell("Text2", i)->isVisible(), qPrintable(QString::number(i)));
      QVERIFY2(!w_->cell("Text1", i)->isVisible(), qPrintable(QString::number(i)));
    }
    // A click on a cell opens it for typing again.
    QTest::mouseClick(w_->cell("Text2", 30), Qt::LeftButton);
    QVERIFY(w_->settle());
    QVERIFY(w_->cell("Text1", 30)->hasFocus());
  }

  // A menu opened with the mouse and closed with Escape gives the keys back to the cell the
  // player was typing in: its focus ring shows, and the arrow keys move on at once.
  void aMenuClosedWithEscapeGivesTheKeysBackToTheCell() {
    w_->load(puzzle("dt-1"));
    QTest::mouseClick(w_->button("Toolbar1", "pencil"), Qt::LeftButton);
    QVERIFY(w_->settle());
    QTest::mouseClick(w_->cell("Text2", 10), Qt::LeftButton);
    QVERIFY(w_->settle());
    QVERIFY(w_->cell("Text1", 10)->hasFocus());
    QMenuBar* bar = w_->main_window().menuBar();
    const QList<QAction*> titles = bar->actions();
    QVERIFY(!titles.isEmpty());
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(titles.front()).center());
    QTRY_VERIFY(QApplication::activePopupWidget() != nullptr);
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
    QTRY_VERIFY(QApplication::activePopupWidget() == nullptr);
    QVERIFY(w_->settle());
    QCOMPARE(w_->main_window().focusWidget(), w_->cell("Text1", 10));
    QTest::keyClick(w_->main_window().focusWidget(), Qt::Key_Right);
    QVERIFY(w_->settle());
    QCOMPARE(w_->main_window().focusWidget(), w_->cell("Text1", 11));
    QVERIFY(w_->cell("Text2", 10)->isVisible());
    QVERIFY(!w_->cell("Text1", 10)->isVisible());
  }

  // A puzzle entered by hand keeps its colours through a step, and once "X" takes the colours
  // away its cages are outlined as a loaded puzzle's are.
  void aHandEnteredPuzzleKeepsItsCagesVisible() {
    QTest::mouseClick(w_->button("Toolbar2", "new"), Qt::LeftButton);
    enter_cage(3, {0, 1}, "3");
    enter_cage(5, {2, 11}, "17");
    enter_cage(7, {3, 4, 5}, "24");
    QTest::mouseClick(w_->cell("colore", 0), Qt::LeftButton);  // leaves the last sum box
    QVERIFY(w_->settle());
    QCOMPARE(m().gruppi, 3);
    const ks::Color first = m().Text1[0].back_color(), second = m().Text1[2].back_color();
    QVERIFY(first != m().bianco && second != m().bianco);
    {
      Player player(*w_);
      player.on_step = [this] { w_->main_window().grab().save(shot("hand_step.png")); };
      QTest::mouseClick(w_->button("Toolbar1", "somme"), Qt::LeftButton);
      QVERIFY(player.steps > 0);
    }
    QVERIFY(w_->settle());
    QCOMPARE(m().Text1[0].back_color(), first);
    QCOMPARE(m().Text2[1].back_color(), first);
    QCOMPARE(m().Text1[11].back_color(), second);
    QTest::mouseClick(w_->cell("colore", 16), Qt::LeftButton);
    QVERIFY(w_->settle());
    QCOMPARE(m().Text1[0].back_color(), m().bianco);
    // The inner borders of each cage are gone, the outer ones stay.
    QVERIFY(!m().Line4[0].visible());   // r1c1 | r1c2, one cage
    QVERIFY(m().Line4[1].visible());    // r1c2 | r1c3, two cages
    QVERIFY(!m().Line3[2].visible());   // r1c3 over r2c3, one cage
    QVERIFY(w_->main_window().grab().save(shot("hand_outlined.png")));
  }

  // The sum of the last cage is typed and a toolbar key is clicked at once: the command closes
  // the cage first, so the cage is on the board for it.
  void aCommandClosesTheCageBeingEntered() {
    QTest::mouseClick(w_->button("Toolbar2", "new"), Qt::LeftButton);
    enter_cage(2, {0, 1}, "17");
    QVERIFY(w_->cell("textsomma", 0)->hasFocus());
    {
      Player player(*w_);
      QTest::mouseClick(w_->button("Toolbar2", "undo"), Qt::LeftButton);
    }
    QCOMPARE(m().cellacolorata, 0);
    QCOMPARE(m().cage_size(0), 2);
    QCOMPARE(m().sommagruppo[0].num(), 17.0);
    QCOMPARE(m().Text2[0].text(), std::string("89"));
  }

  // After a message box the click that brings the window back gives the focus with the window's
  // activation as its reason: the sum box has the player's focus all the same, and leaving it
  // closes the cage.
  void aSumBoxFocusedAsTheWindowComesBackClosesItsCage() {
    QTest::mouseClick(w_->button("Toolbar2", "new"), Qt::LeftButton);
    QTest::mouseClick(w_->cell("colore", 3), Qt::LeftButton);
    QTest::mouseClick(w_->cell("Text1", 0), Qt::LeftButton);
    QTest::mouseClick(w_->cell("Text1", 1), Qt::LeftButton);
    QWidget* sum = w_->cell("textsomma", 0);
    sum->setFocus(Qt::ActiveWindowFocusReason);
    QFocusEvent back(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(sum, &back);
    QCOMPARE(m().form.focused(), static_cast<ks::Control*>(&m().textsomma[0]));
    type_keys(QStringLiteral("3"));
    QTest::mouseClick(w_->cell("colore", 4), Qt::LeftButton);
    QCOMPARE(m().cellacolorata, 0);
    QCOMPARE(m().gruppi, 1);
  }

  // An erasure keeps every cage's limits: the cells of a two-cell 17 keep 89.
  void anErasureKeepsEveryCagesLimits() {
    const auto p = puzzle("dt-2");
    QCOMPARE(p.layout.substr(0, 8), std::string("17,0001;"));
    w_->load(p);
    QTest::mouseClick(w_->cell("Text1", 40), Qt::LeftButton);
    type_keys(QString(QChar(p.solution[40])));
    QTest::keyClick(w_->cell("Text1", 40), Qt::Key_Delete);
    QCOMPARE(m().Text1[40].text(), std::string());
    QCOMPARE(m().Text2[0].text(), std::string("89"));
    QCOMPARE(m().Text2[1].text(), std::string("89"));
  }

  // The restart asks before the player's digits go, in Italian; Annulla keeps the game.
  void theRestartAsksInItalian() {
    const auto p = puzzle("dt-1");
    w_->load(p);
    QTest::mouseClick(w_->cell("Text1", 0), Qt::LeftButton);
    type_keys(QString(QChar(p.solution[0])));
    QString question;
    QStringList buttons;
    ks::gui_test::NextDialog cancel([&](QWidget* w) {
      auto* box = qobject_cast<QMessageBox*>(w);
      if (!box) return;
      question = box->text();
      for (QAbstractButton* b : box->buttons()) buttons << b->text().remove(QLatin1Char('&'));
      box->button(QMessageBox::Cancel)->click();
    });
    QTest::mouseClick(w_->button("Toolbar2", "undo"), Qt::LeftButton);
    QVERIFY(cancel.answered);
    QCOMPARE(question, QStringLiteral("Ricominciare lo schema? Le cifre inserite andranno perse."));
    QVERIFY2(buttons.contains(QStringLiteral("Annulla")), qPrintable(buttons.join(u',')));
    QCOMPARE(m().Text1[0].text(), std::string(1, p.solution[0]));
  }

  // The player answers the restart's question with its default button, OK: the digits go.
  void theRestartAnsweredOkClearsTheDigits() {
    const auto p = puzzle("dt-1");
    w_->load(p);
    QTest::mouseClick(w_->cell("Text1", 0), Qt::LeftButton);
    type_keys(QString(QChar(p.solution[0])));
    QCOMPARE(m().esposti, 1);
    {
      Player player(*w_);
      QTest::mouseClick(w_->button("Toolbar2", "undo"), Qt::LeftButton);
      QCOMPARE(player.messages,
               std::vector<std::string>{"Ricominciare lo schema? Le cifre inserite andranno perse."});
    }
    QCOMPARE(m().Text1[0].text(), std::string());
    QCOMPARE(m().esposti, 0);
  }

  // A wrong digit among its cell's candidates, then "risolvi" with the pencil marks on: the solve
  // finds no solution, says so, and the board comes back as the player left it, every empty
  // cell showing its candidates.
  void aFailedSolveGivesThePencilMarksBack() {
    const auto p = puzzle("di-8");
    w_->load(p);
    QTest::mouseClick(w_->button("Toolbar1", "pencil"), Qt::LeftButton);
    QVERIFY(w_->settle());
    int cell = 0;
    while (m().Text2[cell].text().size() < 2) ++cell;
    const std::string c = m().Text2[cell].text();
    const char wrong = c[0] != p.solution[static_cast<size_t>(cell)] ? c[0] : c[1];
    QTest::mouseClick(w_->cell("Text2", cell), Qt::LeftButton);
    QVERIFY(w_->settle());
    type_keys(QString(QChar(wrong)));
    QCOMPARE(m().Text1[cell].text(), std::string(1, wrong));
    std::vector<std::string> before;
    for (int i = 0; i < 81; ++i) before.push_back(m().Text1[i].text() + "/" + m().Text2[i].text());
    {
      Player player(*w_);
      QTest::mouseClick(w_->button("Toolbar2", "risolvi"), Qt::LeftButton);
      QCOMPARE(player.messages, std::vector<std::string>{"schema senza soluzione"});
    }
    QVERIFY(w_->settle());
    QVERIFY(m().mnupencil.checked());
    QCOMPARE(m().txthint.text(), std::string("schema senza soluzione"));
    int shown = 0;
    for (int i = 0; i < 81; ++i) {
      QCOMPARE(m().Text1[i].text() + "/" + m().Text2[i].text(), before[static_cast<size_t>(i)]);
      const bool empty = m().Text1[i].text().empty();
      QCOMPARE(w_->cell("Text2", i)->isVisible(), empty);
      QCOMPARE(w_->cell("Text1", i)->isVisible(), !empty);
      shown += empty;
    }
    QVERIFY(shown > 40);
    QVERIFY(w_->main_window().grab().save(shot("failed_solve_pencil_marks.png")));
  }

  // With "candidati modificabili manualmente" ticked a digit typed into a candidate box switches
  // that candidate off, and on again; "somme" on the file toolbar ticks it as the player does.
  void candidatesEditedByHand() {
    const auto p = puzzle("dt-1");
    w_->load(p);
    QTest::mouseClick(w_->button("Toolbar1", "pencil"), Qt::LeftButton);
    QTest::mouseClick(w_->find(QStringLiteral("Check2")), Qt::LeftButton);
    QVERIFY(w_->settle());
    QCOMPARE(m().Check2.value(), 1);
    const std::string before = m().Text2[40].text();
    QVERIFY(before.size() > 1);
    const char d = before.back();
    QTest::mouseClick(w_->cell("Text2", 40), Qt::LeftButton);
    QTest::keyClick(w_->cell("Text2", 40), d);
    QCOMPARE(m().Text2[40].text(), before.substr(0, before.size() - 1));
    QTest::keyClick(w_->cell("Text2", 40), d);
    QCOMPARE(m().Text2[40].text(), before);
    // Unticked, the candidates are the program's again.
    QTest::mouseClick(w_->find(QStringLiteral("Check2")), Qt::LeftButton);
    QTest::keyClick(w_->cell("Text2", 40), d);
    QCOMPARE(m().Text2[40].text(), before);
    QTest::mouseClick(w_->button("Toolbar2", "calcola"), Qt::LeftButton);
    QVERIFY(w_->settle());
    QCOMPARE(m().Check2.value(), 1);
    QTest::mouseClick(w_->cell("Text2", 40), Qt::LeftButton);
    QTest::keyClick(w_->cell("Text2", 40), d);
    QCOMPARE(m().Text2[40].text(), before.substr(0, before.size() - 1));
  }

  // The last digit completes the grid: the play clock stops and shows "start" again.
  void aCompletedGridStopsTheClock() {
    const auto p = puzzle("dt-1");
    w_->load(p);
    QTest::mouseClick(w_->find(QStringLiteral("picstart")), Qt::LeftButton);
    QVERIFY(m().play_clock_running());
    for (int i = 0; i < 80; ++i) m().Text1[i].set_text(std::string(1, p.solution[i]));
    QTest::mouseClick(w_->cell("Text1", 80), Qt::LeftButton);
    type_keys(QString(QChar(p.solution[80])));
    QVERIFY(w_->settle());
    QVERIFY(m().finito);
    QVERIFY(!m().play_clock_running());
    QCOMPARE(m().picstart.picture(), m().picverde.picture());
    QVERIFY(w_->main_window().grab().save(shot("complete.png")));
  }

  // A full grid with a wrong last digit: the hint line names the fault and the clock runs on.
  // The wrong digit erased, the line clears; the right one typed, the grid is finished, the clock
  // stops and the line tells no error.
  void aFullGridWithAWrongDigitIsToldUntilItIsPutRight() {
    const auto p = puzzle("dt-1");
    w_->load(p);
    QTest::mouseClick(w_->find(QStringLiteral("picstart")), Qt::LeftButton);
    for (int i = 0; i < 80; ++i) m().Text1[i].set_text(std::string(1, p.solution[i]));
    const char wrong = p.solution[79];  // the digit of r9c8, in the row of r9c9
    QTest::mouseClick(w_->cell("Text1", 80), Qt::LeftButton);
    type_keys(QString(QChar(wrong)));
    auto* hint = w_->find<QLineEdit>(QStringLiteral("txthint"));
    QTRY_VERIFY(hint->text().startsWith(QStringLiteral("schema completo, ma con errori: ")));
    QVERIFY(hint->isVisible());
    QVERIFY(!m().finito && m().play_clock_running());
    QVERIFY(w_->settle());
    QVERIFY(w_->main_window().grab().save(shot("full_wrong.png")));

    QTest::keyClick(w_->cell("Text1", 80), Qt::Key_Delete);
    QTRY_COMPARE(hint->text(), QStringLiteral(" "));
    QVERIFY(w_->settle());
    QVERIFY(w_->main_window().grab().save(shot("full_wrong_erased.png")));

    type_keys(QString(QChar(p.solution[80])));
    QTRY_VERIFY(m().finito);
    QVERIFY(!m().play_clock_running());
    QVERIFY(!hint->text().contains(QStringLiteral("errori")));
    QVERIFY(!hint->text().startsWith(QStringLiteral("  numero errato")));
    QVERIFY(w_->settle());
    QVERIFY(w_->main_window().grab().save(shot("full_wrong_finished.png")));
  }

  // The solve button on a loaded puzzle: the grid solved, its rating on the hint line and the
  // level boxes, the solve time, the log window shown.
  void theSolveButtonSolvesAndRates() {
    const auto p = puzzle("db-18");
    w_->load(p);
    QTest::mouseClick(w_->button("Toolbar2", "risolvi"), Qt::LeftButton);
    QVERIFY(w_->settle());
    QVERIFY(m().finito);
    QCOMPARE(m().txtstringa.text(), p.solution);
    for (int i = 0; i < 81; ++i) QVERIFY(w_->cell("Text1", i)->isVisible());
    const std::string rating = m().txthint.text();
    QVERIFY(rating.rfind(" HARD - gruppocontrogruppo - ", 0) == 0);
    QCOMPARE(w_->find(QStringLiteral("txthint"))->isVisible(), true);
    QVERIFY(m().txtlivello.text().rfind(" HARD - gruppocontrogruppo  -  ", 0) == 0);
    const std::string time = m().tempo.text();
    QVERIFY(time.size() > 2 && time.substr(time.size() - 2) == " s");
    QVERIFY(m().frmlog.visible());
    QVERIFY(w_->main_window().grab().save(shot("solved_and_rated.png")));
  }

  // The hint button: the step waits at the traffic light with its cells highlighted; the green
  // light applies it.
  void aHintWaitsAtTheTrafficLight() {
    const auto p = puzzle("dt-1");
    w_->load(p);
    const auto candidates = [this] {
      std::vector<std::string> c;
      for (const ks::TextBox& t : m().Text2) c.push_back(t.text());
      return c;
    };
    const std::vector<std::string> before = candidates();
    std::string hint;
    {
      Player player(*w_);
      player.on_step = [&] {
        QVERIFY(w_->settle());
        hint = m().txthint.text();
        QVERIFY(w_->find(QStringLiteral("Pictgo"))->isVisible());
        w_->main_window().grab().save(shot("hint_at_traffic_light.png"));
      };
      QTest::mouseClick(w_->button("Toolbar1", "suggerisci"), Qt::LeftButton);
      QCOMPARE(player.steps, 1);
    }
    QVERIFY(w_->settle());
    QCOMPARE(hint, std::string("NAKED PAIR 12 in r2c2 e r2c1"));
    QVERIFY(!m().Pictgo.visible());
    QVERIFY(candidates() != before);
  }

  // "genera" makes a new puzzle: cages drawn over the whole board, a rating shown, no digit.
  void generateDrawsARatedPuzzle() {
    w_->rt->Randomize(3u);
    {
      Player player(*w_);
      QTest::mouseClick(w_->button("Toolbar2", "genera"), Qt::LeftButton);
      QVERIFY(player.messages.empty());
    }
    QVERIFY(w_->settle());
    QVERIFY(!m().generation_running);
    QVERIFY(!m().problema);
    QCOMPARE(m().esposti, 0);
    for (int c = 0; c < 81; ++c) QVERIFY(m().cage_of(c) >= 0);
    QVERIFY(!m().txtlivello.text().empty());
    QVERIFY(w_->main_window().grab().save(shot("generated.png")));
  }

  // A hint longer than its line shows whole as the line's tool-tip; placed digits stay whole
  // beside the cage sums.
  void longHintsAndDigitsBesideTheSums() {
    const auto p = puzzle("dt-1");
    w_->load(p);
    const std::string hint(200, 'x');
    m().txthint.set_visible(true);
    m().txthint.set_text(hint);
    QVERIFY(w_->settle());
    QCOMPARE(w_->find(QStringLiteral("txthint"))->toolTip().toStdString(), hint);
    m().txthint.set_text("breve");
    QVERIFY(w_->settle());
    QVERIFY(w_->find(QStringLiteral("txthint"))->toolTip().isEmpty());
    for (int i = 0; i < 27; ++i) m().Text1[i].set_text(std::string(1, p.solution[i]));
    QVERIFY(w_->settle());
    QVERIFY(w_->main_window().grab().save(shot("digits_beside_sums.png")));
  }
};

QTEST_MAIN(PlayWindowTest)
#include "play_window_test.moc"
