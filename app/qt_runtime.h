// The runtime services on Qt: yielding to the event loop, message boxes, beep, clocks, file
// dialogs, printing and the program's folder.
#pragma once

#include <QElapsedTimer>
#include <QString>
#include <QTimer>
#include <functional>

#include "platform/runtime.h"

class QWidget;

namespace ks::view {

class QtRuntime : public Runtime {
 public:
  QtRuntime();

  // Runs pending events, at most once every few milliseconds: a computation that yields
  // millions of times stays fast and the window stays alive.
  void DoEvents() override;
  // Runs pending events, then sleeps until an event arrives or max_ms pass.
  void WaitEvents(int max_ms) override;

  MsgAnswer MsgBox(const std::string& text, MsgButtons buttons = MsgButtons::Ok) override;
  void Beep() override;
  float Timer() override;
  double timeGetTime() override;
  std::string ShowOpen(const std::string& filter) override;
  std::string ShowSave(const std::string& filter) override;
  // Asks for a printer and prints an image of the form's window, fitted to the page.
  PrintOutcome PrintForm(Form& form) override;
  std::string AppPath() override;
  // The busy cursor while long work runs (the window still takes the clicks it allows).
  void Busy(bool on) override;

  // Answers the file dialogs in place of the user (tests: a modal dialog would wait for ever).
  // Gets the Qt filter and whether the dialog saves; returns the file name, "" for a cancel.
  std::function<QString(const QString& filter, bool save)> answer_file_dialog;
  // Runs at every yield that lets events run (tests: the window tests check the board index
  // there). Unset in the program.
  std::function<void()> check_at_yield;

  // How PrintForm finds the widget that shows a form.
  void set_form_widgets(std::function<QWidget*(Form&)> lookup) { form_widget_ = std::move(lookup); }
  // Prints the image of a form into a PDF file without asking; false when nothing was printed.
  bool print_form_to_pdf(Form& form, const QString& file);

  // Ends the program at once: every window closes, nothing is asked. When a procedure is still
  // running, the program ends at its next yield, since it would never get back to the event loop.
  void end_program();

 private:
  void end_if_asked();

  QElapsedTimer since_events_;
  QTimer wake_;
  std::function<QWidget*(Form&)> form_widget_;
  bool ending_ = false;
  int busy_ = 0;
};

// A filter of the program's dialogs, "description|pattern|description|pattern" with patterns
// separated by ';', as a Qt file-dialog filter: "description (pattern);;description (pattern)".
// "Schema (*.sc+)|*.sc+" -> "Schema (*.sc+)": a description that names its patterns shows them
// once. "*.*" becomes "*", so that names without a dot show too.
QString qt_file_filter(const std::string& filter);

// A name typed into the save dialog without any extension gets the one of the chosen filter
// ("description (*.sa+)"): "schema" -> "schema.sa+". A name with an extension stands as typed,
// and so does any name under a filter of any file.
QString with_filter_suffix(const QString& file, const QString& selected_filter);

}  // namespace ks::view
