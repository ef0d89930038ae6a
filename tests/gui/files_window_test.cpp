// Puzzle files from the real window, offscreen: a game saved from the menu and opened again from
// the file toolbar through the runtime's file dialogs (answered by the test), the export from the
// hidden button, a refused file's message; a screenshot of the opened game.
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <string>
#include <vector>

#include "gui_support.h"

using ks::Main;
using ks::gui_test::Program;
using ks::gui_test::shot;
using ks::view::FormWindow;

namespace {

QByteArray contents(const QString& file) {
  QFile f(file);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

class FilesWindowTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir dir_;
  Program p_;
  Main* m_ = nullptr;
  // What the next file dialog answers, and the filters the dialogs were shown with.
  QString answer_;
  QStringList filters_;

  FormWindow& main_window() const { return p_.main_window(); }
  void click_toolbar(const char* key) {
    QWidget* button = p_.button("Toolbar2", key);
    QVERIFY2(button && button->isEnabled(), key);
    QTest::mouseClick(button, Qt::LeftButton);
    QVERIFY(p_.settle());
  }

 private slots:
  void initTestCase() {
    QVERIFY(dir_.isValid());
    p_.start();
    m_ = p_.m.get();
    p_.rt->answer_file_dialog = [this](const QString& filter, bool) {
      filters_ << filter;
      return answer_;
    };
    QVERIFY(p_.show());
  }

  void cleanupTestCase() { p_.stop(); }

  void gameSavedFromTheMenuOpensAgainFromTheToolbar() {
    const std::vector<QStringList> puzzles = ks::gui_test::test_puzzles();
    QVERIFY(!puzzles.empty() && puzzles[0].size() >= 2);
    const std::string layout = puzzles[0][0].toStdString(), solution = puzzles[0][1].toStdString();

    // A puzzle from a file, a few digits typed.
    QFile start(dir_.filePath(QStringLiteral("start.sa+")));
    QVERIFY(start.open(QIODevice::WriteOnly));
    start.write((layout + "\r\n").c_str());
    start.close();
    answer_ = start.fileName();
    p_.find<QAction>("mnuopen")->trigger();
    QVERIFY(p_.settle());
    QCOMPARE(p_.find<QLineEdit>("filetxt")->text(), QStringLiteral(" ") + start.fileName());
    QVERIFY(p_.find("textsomma(0)")->isVisible());
    for (int i : {0, 10, 20, 30, 40, 50, 60, 70, 80}) m_->Text1[i].type(solution.substr(static_cast<size_t>(i), 1));
    QVERIFY(p_.settle());

    // Saved from the menu as "game": the chosen filter gives the name its extension.
    answer_ = dir_.filePath(QStringLiteral("game"));
    QAction* save = p_.find<QAction>("mnusave");
    QVERIFY(save->isEnabled());
    save->trigger();
    QVERIFY(p_.settle());
    QCOMPARE(filters_.last(), QStringLiteral("Puzzle salvati (*.sa+);;Classico (*.sas);;Schema (*.sc+)"));
    QCOMPARE(contents(dir_.filePath(QStringLiteral("game.sa+"))), QByteArray((layout + "\r\n").c_str()));
    answer_ = dir_.filePath(QStringLiteral("game.sc+"));
    click_toolbar("save");
    QCOMPARE(p_.find<QLineEdit>("filetxt")->text(), QStringLiteral(" ") + answer_);

    // A new board, once the player agrees to leave the digits, then the game again from the
    // toolbar.
    QString asked;
    ks::gui_test::NextDialog leave([&asked](QWidget* w) {
      if (auto* box = qobject_cast<QMessageBox*>(w)) {
        asked = box->text();
        box->button(QMessageBox::Ok)->click();
      }
    });
    click_toolbar("new");
    QVERIFY(leave.answered);
    QCOMPARE(asked, QStringLiteral("Abbandonare lo schema in corso? Le cifre inserite andranno perse."));
    QVERIFY(!p_.find("textsomma(0)")->isVisible());
    answer_ = dir_.filePath(QStringLiteral("game.sc+"));
    click_toolbar("open");
    QCOMPARE(filters_.last(), QStringLiteral("Tutti gli schemi (*.sa+ *.sc+ *.sav *.txt);;Puzzle salvati (*.txt *.sa+);;Tutti i file (*)"));
    QCOMPARE(p_.find<QLineEdit>("filetxt")->text(), QStringLiteral(" ") + answer_);
    // The nine digits come back, and only they.
    QCOMPARE(p_.find<QLineEdit>("txtesposti")->text(), QStringLiteral("9"));
    QVERIFY(p_.find("textsomma(0)")->isVisible());
    QVERIFY(p_.find("Text1(40)")->isVisible());
    QCOMPARE(m_->Text1[40].text(), solution.substr(40, 1));
    QVERIFY(main_window().grab().save(shot("file_opened.png")));
    // The candidates of the saved game, with the pencil marks on.
    QWidget* pencil = p_.button("Toolbar1", "pencil");
    QTest::mouseClick(pencil, Qt::LeftButton);
    QVERIFY(p_.settle());
    QVERIFY(p_.find("Text2(1)")->isVisible() && !p_.find("Text2(0)")->isVisible());
    QVERIFY(main_window().grab().save(shot("file_opened_pencil.png")));
    QTest::mouseClick(pencil, Qt::LeftButton);
    QVERIFY(p_.settle());

    // The export from the hidden button.
    QTest::mouseDClick(p_.find("Frame1"), Qt::LeftButton);
    QVERIFY(p_.settle());
    auto* command2 = p_.find<QPushButton>("Command2");
    QVERIFY(command2->isVisible());
    QCOMPARE(command2->text(), QStringLiteral("salva per flash"));
    answer_ = dir_.filePath(QStringLiteral("flash"));
    QTest::mouseClick(command2, Qt::LeftButton);
    QVERIFY(p_.settle());
    const QByteArray line = contents(dir_.filePath(QStringLiteral("flash.txt")));
    QVERIFY2(line.endsWith((" " + layout + "\r\n").c_str()), line.constData());
    QTest::mouseDClick(p_.find("Frame1"), Qt::LeftButton);
    QVERIFY(p_.settle());

    // A cancelled dialog leaves the game on the board.
    answer_.clear();
    click_toolbar("open");
    QCOMPARE(p_.find<QLineEdit>("txtesposti")->text(), QStringLiteral("9"));
  }

  void aRefusedFileSaysWhyAndLeavesTheGame() {
    QFile bad(dir_.filePath(QStringLiteral("bad.sa+")));
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write("15,0102;10,0203;\r\n");
    bad.close();
    answer_ = bad.fileName();
    const QString status = p_.find<QLineEdit>("filetxt")->text();
    const QString filled = p_.find<QLineEdit>("txtesposti")->text();
    const bool cages = p_.find("textsomma(0)")->isVisible();
    QString shown;
    ks::gui_test::NextDialog ok([&shown](QWidget* w) {
      if (auto* box = qobject_cast<QMessageBox*>(w)) {
        shown = box->text();
        box->accept();
      }
    });
    click_toolbar("open");
    QVERIFY(ok.answered);
    QCOMPARE(shown, QStringLiteral("schema non valido: la cella 02 è sia nel 1° gruppo sia nel 2° gruppo (") +
                        bad.fileName() + QStringLiteral(")"));
    QCOMPARE(p_.find<QLineEdit>("filetxt")->text(), status);
    QCOMPARE(p_.find("textsomma(0)")->isVisible(), cages);
    QCOMPARE(p_.find<QLineEdit>("txtesposti")->text(), filled);
  }

  void aNameTypedWithoutExtensionGetsTheFiltersOne() {
    using ks::view::with_filter_suffix;
    QCOMPARE(with_filter_suffix(QStringLiteral("/d/x"), QStringLiteral("Schema (*.sc+)")), QStringLiteral("/d/x.sc+"));
    QCOMPARE(with_filter_suffix(QStringLiteral("/d/x.sc+"), QStringLiteral("Schema (*.sc+)")), QStringLiteral("/d/x.sc+"));
    QCOMPARE(with_filter_suffix(QStringLiteral("/d/x.sa+"), QStringLiteral("Schema (*.sc+)")), QStringLiteral("/d/x.sa+"));
    QCOMPARE(with_filter_suffix(QStringLiteral("/d.d/x"), QStringLiteral("Puzzle salvati (*.txt *.sa+)")),
             QStringLiteral("/d.d/x.txt"));
    QCOMPARE(with_filter_suffix(QStringLiteral("/d/x"), QStringLiteral("Tutti i file (*)")), QStringLiteral("/d/x"));
    QCOMPARE(with_filter_suffix(QString(), QStringLiteral("Schema (*.sc+)")), QString());
  }
};

QTEST_MAIN(FilesWindowTest)
#include "files_window_test.moc"
