// The library as a newcomer meets it, offscreen: the level chooser on the library shipped with the
// program lists puzzles at many levels, and one loads onto the board; and the batch generator
// started from its hidden button fills a small library while its log shows each record.
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>
#include <string>
#include <vector>

#include "gui_support.h"
#include "library/library.h"
#include "platform/data_control.h"

using ks::Main;
using ks::gui_test::Player;
using ks::gui_test::Program;
using ks::gui_test::shot;
using ks::view::FormWindow;

class BatchWindowTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir dir_;
  Program p_;
  Main* m_ = nullptr;

  FormWindow& chooser() const { return *p_.view->window(m_->frmlivello.form); }
  template <class W = QWidget>
  W* in_chooser(const QString& name) const {
    return chooser().findChild<W*>(name);
  }
  void use_library(const QString& file) {
    m_->database = file.toStdString();
    m_->Data1.set_database_name(m_->database);
  }

 private slots:
  void initTestCase() {
    QVERIFY(dir_.isValid());
    p_.start();
    m_ = p_.m.get();
    QVERIFY(p_.show());
  }

  void cleanupTestCase() { p_.stop(); }

  // Every level row is clicked: most levels hold puzzles, each shows how many and one of them.
  void shippedLibraryOffersPuzzlesAtManyLevels() {
    const QString file = dir_.filePath(QStringLiteral("shipped.db"));
    QVERIFY(QFile::copy(QStringLiteral(KS_SHIPPED_LIBRARY), file));
    use_library(file);
    QTest::mouseClick(p_.button("Toolbar2", "libreria"), Qt::LeftButton);
    QTRY_VERIFY(chooser().isVisible());
    QVERIFY(QTest::qWaitForWindowExposed(&chooser()));
    QVERIFY(p_.settle());

    int levels = 0, puzzles = 0;
    for (int level = 0; level <= 13; ++level) {
      Player player(p_);  // a level without puzzles says "nessun record"
      auto* row = in_chooser<QRadioButton>(QStringLiteral("Option1(%1)").arg(level));
      QTest::mouseClick(row, Qt::LeftButton, {}, QPoint(8, row->height() / 2));
      QTRY_VERIFY(player.messages.size() == 1 || m_->frmlivello.level() == level);
      if (m_->frmlivello.level() != level) continue;
      QVERIFY(p_.settle());
      const int n = in_chooser<QLineEdit>(QStringLiteral("numerototale"))->text().toInt();
      QVERIFY(n > 0);
      QVERIFY(!in_chooser<QLineEdit>(QStringLiteral("progtxt"))->text().isEmpty());
      if (level > 0) QVERIFY(!in_chooser<QLineEdit>(QStringLiteral("dettagliotxt"))->text().isEmpty());
      ++levels;
      puzzles += n;
    }
    QVERIFY2(levels >= 8, qPrintable(QStringLiteral("%1 levels").arg(levels)));
    QVERIFY(puzzles >= 300);

    auto* level10 = in_chooser<QRadioButton>(QStringLiteral("Option1(10)"));
    QTest::mouseClick(level10, Qt::LeftButton, {}, QPoint(8, level10->height() / 2));
    QVERIFY(p_.settle());
    QVERIFY(level10->isChecked());
    QVERIFY(chooser().grab().save(shot("shipped_library_chooser.png")));

    QTest::mouseClick(in_chooser(QStringLiteral("Command1")), Qt::LeftButton);
    QTRY_VERIFY(!chooser().isVisible());
    QVERIFY(p_.settle());
    QVERIFY(p_.find<QLineEdit>(QStringLiteral("filetxt"))->text().startsWith(QStringLiteral(" Livello 10, schema ")));
    QVERIFY(!m_->problema);
    QCOMPARE(m_->esposti, 0);
    for (int c = 0; c < 81; ++c) QVERIFY(m_->cage_of(c) >= 0);
    QVERIFY(p_.main_window().grab().save(shot("shipped_library_puzzle.png")));
  }

  // The hidden button runs the batch over three grids: each record is logged and stored.
  void batchButtonFillsALibrary() {
    const QString file = dir_.filePath(QStringLiteral("batch.db"));
    std::string rows;
    const char* grids[] = {
        "748612395321597864695384217473125689869473521512968473184259736937846152256731948",
        "195736842438925167672481359821567493369148275547392681913874526254619738786253914",
        "591724638628913457473568219917382546345697182286451973134276895852139764769845321"};
    for (int i = 0; i < 3; ++i)
      rows += "INSERT INTO schema (progressivo, stringa) VALUES (" + std::to_string(i + 1) + ", '" +
              grids[i] + "');";
    ks::DataControl d;
    d.set_database_name(file.toStdString());
    QVERIFY(d.create_database(std::string(ks::kLibraryScript) + rows));
    use_library(file);

    QTest::mouseDClick(p_.find(QStringLiteral("Frame1")), Qt::LeftButton);
    QVERIFY(p_.settle());
    QWidget* continuo = p_.button("Toolbar2", "continuo");
    QVERIFY(continuo && continuo->isVisible() && continuo->isEnabled());
    {
      Player player(p_);
      QTest::mouseClick(continuo, Qt::LeftButton);
      QVERIFY(player.messages.empty());
    }
    QVERIFY(p_.settle());
    QVERIFY(!m_->generation_running);
    FormWindow& log = *p_.view->window(m_->frmgeneratore.form);
    QVERIFY(log.isVisible());
    const QStringList lines =
        QString::fromStdString(m_->frmgeneratore.Text1.text()).split(QStringLiteral("\r\n"));
    QVERIFY(lines.size() > 9);
    QVERIFY(lines[0].startsWith(QStringLiteral(" tempo, secondi ")));
    QCOMPARE(lines[1], QStringLiteral(" numeri 3"));
    QCOMPARE(lines[2], QStringLiteral(" schema 3"));
    QVERIFY(log.grab().save(shot("batch_log.png")));
    for (int id = 1; id <= 3; ++id) {
      ks::DataControl r;
      r.set_database_name(file.toStdString());
      r.set_record_source("SELECT * FROM schema WHERE progressivo = ?", {std::int64_t{id}});
      QVERIFY(r.Refresh());
      QCOMPARE(r.field("singoli"), std::to_string(id));
      QVERIFY(!r.field("livello").empty());
    }
    QTest::mouseDClick(p_.find(QStringLiteral("Frame1")), Qt::LeftButton);
  }
};

QTEST_MAIN(BatchWindowTest)
#include "batch_window_test.moc"
