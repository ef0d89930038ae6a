// The runtime services on Qt.
#include "qt_runtime.h"

#include <QApplication>
#include <QCursor>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QTime>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace ks::view {

namespace {

// The shortest time between two rounds of event processing in DoEvents.
constexpr qint64 kYieldGapMs = 5;

std::string local_path(const QString& path) { return QFile::encodeName(path).toStdString(); }

// Prints an image of a widget, drawn at three times the screen resolution so that it stays sharp
// on paper, as large as fits the page, centred at the top.
bool print_widget(QPrinter& printer, QWidget& w) {
  constexpr int kSharpness = 3;
  QImage image(w.size() * kSharpness, QImage::Format_RGB32);
  image.setDevicePixelRatio(kSharpness);
  image.fill(w.palette().color(QPalette::Window));
  QPainter ip(&image);
  w.render(&ip, QPoint(), QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);
  ip.end();

  QPainter p;
  if (!p.begin(&printer)) return false;
  const QRect page = p.viewport();
  const double scale = std::min(static_cast<double>(page.width()) / w.width(),
                                static_cast<double>(page.height()) / w.height());
  const QRectF target((page.width() - w.width() * scale) / 2, 0, w.width() * scale, w.height() * scale);
  p.setRenderHint(QPainter::SmoothPixmapTransform);
  p.drawImage(target, image);
  // A device that took the page but could not finish the job says so in its state.
  return p.end() && printer.printerState() != QPrinter::Error && printer.printerState() != QPrinter::Aborted;
}

}  // namespace

QString qt_file_filter(const std::string& filter) {
  const QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
  QStringList out;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QStringList patterns = parts[i + 1].trimmed().split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (QString& p : patterns) {
      p = p.trimmed();
      if (p == QStringLiteral("*.*")) p = QStringLiteral("*");
    }
    // The description names its patterns already ("Schema (*.sc+)"): Qt shows them once.
    QString description = parts[i].trimmed();
    if (description.endsWith(QLatin1Char(')')) && description.contains(QStringLiteral(" (")))
      description.truncate(description.lastIndexOf(QStringLiteral(" (")));
    out << description + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
  }
  return out.join(QStringLiteral(";;"));
}

QString with_filter_suffix(const QString& file, const QString& selected_filter) {
  if (file.isEmpty() || QFileInfo(file).fileName().contains(QLatin1Char('.'))) return file;
  const qsizetype open = selected_filter.lastIndexOf(QLatin1Char('('));
  const qsizetype close = selected_filter.lastIndexOf(QLatin1Char(')'));
  if (open < 0 || close < open) return file;
  const QString first = selected_filter.mid(open + 1, close - open - 1).section(QLatin1Char(' '), 0, 0);
  if (!first.startsWith(QStringLiteral("*.")) || first.size() < 3 || first.mid(2).contains(QLatin1Char('*')))
    return file;  // a filter of any file: the name stands as typed
  return file + first.mid(1);
}

QtRuntime::QtRuntime() {
  wake_.setSingleShot(true);
  since_events_.start();
}

void QtRuntime::DoEvents() {
  if (since_events_.elapsed() < kYieldGapMs) return;
  if (check_at_yield) check_at_yield();
  QCoreApplication::processEvents();
  since_events_.start();
  end_if_asked();
}

void QtRuntime::WaitEvents(int max_ms) {
  if (check_at_yield) check_at_yield();
  QCoreApplication::processEvents();
  end_if_asked();
  if (max_ms > 0) {
    // The timer's expiry is itself an event, so the wait ends by max_ms at the latest.
    wake_.start(max_ms);
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    wake_.stop();
    end_if_asked();
  }
  since_events_.start();
}

MsgAnswer QtRuntime::MsgBox(const std::string& text, MsgButtons buttons) {
  end_if_asked();
  QMessageBox box(QApplication::activeWindow());
  box.setWindowTitle(QGuiApplication::applicationDisplayName());
  box.setText(QString::fromStdString(text));
  if (buttons == MsgButtons::OkCancel) {
    box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
    box.setEscapeButton(QMessageBox::Cancel);
  } else {
    box.setStandardButtons(QMessageBox::Ok);
  }
  box.setDefaultButton(QMessageBox::Ok);
  // The question waits for the player, not the work: the ordinary pointer while it is up.
  if (busy_ > 0) QGuiApplication::setOverrideCursor(QCursor(Qt::ArrowCursor));
  const int answer = box.exec();
  if (busy_ > 0) QGuiApplication::restoreOverrideCursor();
  end_if_asked();
  return answer == QMessageBox::Ok ? MsgAnswer::Ok : MsgAnswer::Cancel;
}

void QtRuntime::Busy(bool on) {
  if (on && busy_++ == 0) QGuiApplication::setOverrideCursor(QCursor(Qt::BusyCursor));
  if (!on && busy_ > 0 && --busy_ == 0) QGuiApplication::restoreOverrideCursor();
}

void QtRuntime::Beep() { QApplication::beep(); }

float QtRuntime::Timer() { return static_cast<float>(QTime::currentTime().msecsSinceStartOfDay()) / 1000.0f; }

double QtRuntime::timeGetTime() {
  static QElapsedTimer clock = [] {
    QElapsedTimer t;
    t.start();
    return t;
  }();
  return static_cast<double>(clock.msecsSinceReference());
}

std::string QtRuntime::ShowOpen(const std::string& filter) {
  end_if_asked();
  const QString qt_filter = qt_file_filter(filter);
  const QString file = answer_file_dialog
                           ? answer_file_dialog(qt_filter, false)
                           : QFileDialog::getOpenFileName(QApplication::activeWindow(), QString(),
                                                          QString(), qt_filter);
  end_if_asked();
  return local_path(file);
}

std::string QtRuntime::ShowSave(const std::string& filter) {
  end_if_asked();
  const QString qt_filter = qt_file_filter(filter);
  QString selected = qt_filter.section(QStringLiteral(";;"), 0, 0);
  const QString file = answer_file_dialog
                           ? answer_file_dialog(qt_filter, true)
                           : QFileDialog::getSaveFileName(QApplication::activeWindow(), QString(),
                                                          QString(), qt_filter, &selected);
  end_if_asked();
  return local_path(with_filter_suffix(file, selected));
}

PrintOutcome QtRuntime::PrintForm(Form& form) {
  QWidget* w = form_widget_ ? form_widget_(form) : nullptr;
  if (!w) return PrintOutcome::Failed;
  QPrinter printer(QPrinter::HighResolution);
  QPrintDialog dialog(&printer, QApplication::activeWindow());
  const int answer = dialog.exec();
  end_if_asked();
  if (answer != QDialog::Accepted) return PrintOutcome::Cancelled;
  return print_widget(printer, *w) ? PrintOutcome::Printed : PrintOutcome::Failed;
}

bool QtRuntime::print_form_to_pdf(Form& form, const QString& file) {
  QWidget* w = form_widget_ ? form_widget_(form) : nullptr;
  if (!w) return false;
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(file);
  return print_widget(printer, *w);
}

std::string QtRuntime::AppPath() { return local_path(QCoreApplication::applicationDirPath()); }

void QtRuntime::end_program() {
  ending_ = true;
  for (QWidget* w : QApplication::topLevelWidgets()) w->hide();
  QCoreApplication::quit();
}

void QtRuntime::end_if_asked() {
  if (!ending_) return;
  // A procedure is still running and would never return to the event loop: end here.
  std::fflush(nullptr);
  std::_Exit(0);
}

}  // namespace ks::view
