// The level chooser as a real window, offscreen: opened from the file toolbar, a level clicked,
// the puzzles browsed, one loaded onto the board; screenshots of the chooser and the board.
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>
#include <string>
#include <vector>

#include "gui_support.h"
#include "library/library.h"

using ks::Main;
using ks::gui_test::Program;
using ks::gui_test::shot;
using ks::view::FormWindow;

namespace {

// The cage layouts of the test puzzles, in file order.
std::vector<std::string> layouts() {
  std::vector<std::string> out;
  for (const QStringList& p : ks::gui_test::test_puzzles()) out.push_back(p[0].toStdString());
  return out;
}

}  // namespace

class LibraryWindowTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir dir_;
  Program p_;
  Main* m_ = nullptr;

  FormWindow& main_window() const { return p_.main_window(); }
  FormWindow& chooser() const { return *p_.view->window(m_->frmlivello.form); }
  template <class W = QWidget>
  W* in_chooser(const char* name) const {
    return chooser().findChild<W*>(QString::fromLatin1(name));
  }

 private slots:
  void initTestCase() {
    QVERIFY(dir_.isValid());
    p_.start();
    m_ = p_.m.get();

    // A library of four puzzles of level 4 with their rating details.
    m_->database = dir_.filePath(QStringLiteral("schemikenvari.db")).toStdString();
    m_->Data1.set_database_name(m_->database);
    const std::vector<std::string> l = layouts();
    QVERIFY(l.size() >= 4);
    std::string rows;
    const char* times[] = {"14.5", "31.25", "8", "52.75"};
    for (int i = 0; i < 4; ++i)
      rows += "INSERT INTO schema VALUES (" + std::to_string(101 + i) + ", 4, 0, '" + l[i] +
              "', " + times[i] + ", " + std::to_string(60 + 7 * i) + ", 'liv1=" +
              std::to_string(20 + i) + " liv2=9 liv3=4 liv4=" + std::to_string(1 + i) + "', '');";
    ks::DataControl d;
    d.set_database_name(m_->database);
    QVERIFY2(d.create_database(std::string(ks::kLibraryScript) + rows), d.error_text().c_str());

    QVERIFY(p_.show());
  }

  void cleanupTestCase() { p_.stop(); }

  void chooserBrowsesALevelAndLoadsAPuzzle() {
    QWidget* libreria = p_.button("Toolbar2", "libreria");
    QVERIFY(libreria && libreria->isEnabled());
    QTest::mouseClick(libreria, Qt::LeftButton);
    QTRY_VERIFY(chooser().isVisible());
    QVERIFY(QTest::qWaitForWindowExposed(&chooser()));
    QVERIFY(p_.settle());
    QCOMPARE(chooser().windowTitle(), QStringLiteral("Selezione Livello"));
    auto* load = in_chooser<QPushButton>("Command1");
    QVERIFY(load->isVisible() && !load->isEnabled());

    auto* level4 = in_chooser<QRadioButton>("Option1(4)");
    QCOMPARE(level4->text(), QStringLiteral("Livello 4 - AVANZATO - Posizioni obbligate"));
    QVERIFY(!in_chooser("Option1(15)")->isVisible());
    QTest::mouseClick(level4, Qt::LeftButton, {}, QPoint(8, level4->height() / 2));
    QVERIFY(p_.settle());
    QVERIFY(level4->isChecked());
    QCOMPARE(in_chooser<QLineEdit>("numerototale")->text(), QStringLiteral("4"));
    QVERIFY(load->isEnabled());

    // Last, then one back: the fourth and third slowest ratings.
    QTest::mouseClick(in_chooser("Command4"), Qt::LeftButton);
    QTest::mouseClick(in_chooser("Command2"), Qt::LeftButton);
    QVERIFY(p_.settle());
    QCOMPARE(in_chooser<QLineEdit>("numeroselezionato")->text(), QStringLiteral("3"));
    QCOMPARE(in_chooser<QLineEdit>("progtxt")->text(), QStringLiteral("101"));
    QCOMPARE(in_chooser<QLineEdit>("temptxt")->text(), QStringLiteral("14,5"));
    QCOMPARE(in_chooser<QLineEdit>("difftxt")->text(), QStringLiteral("60"));
    QCOMPARE(in_chooser<QLineEdit>("dettagliotxt")->text(), QStringLiteral("liv1=20 liv2=9 liv3=4 liv4=1"));
    // Typing a number moves there at once.
    QLineEdit* number = in_chooser<QLineEdit>("numeroselezionato");
    number->selectAll();
    QTest::keyClicks(number, QStringLiteral("2"));
    QVERIFY(p_.settle());
    QCOMPARE(in_chooser<QLineEdit>("progtxt")->text(), QStringLiteral("102"));
    QVERIFY(chooser().grab().save(shot("level_chooser.png")));

    QTest::mouseClick(load, Qt::LeftButton);
    QTRY_VERIFY(!chooser().isVisible());
    QVERIFY(p_.settle());
    QCOMPARE(p_.find<QLineEdit>(QStringLiteral("filetxt"))->text(),
             QStringLiteral(" Livello 4, schema 2"));
    QCOMPARE(m_->library_record, 102);
    QVERIFY(p_.find(QStringLiteral("textsomma(0)"))->isVisible());
    QVERIFY(main_window().grab().save(shot("library_loaded.png")));
  }
};

QTEST_MAIN(LibraryWindowTest)
#include "library_window_test.moc"
