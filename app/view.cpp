// The program's windows and where they open: the main window centred with its first companion
// beside it, the further companions cascading from there.
#include "view.h"

#include <QApplication>
#include <QScreen>

namespace ks::view {

namespace {
constexpr int kGap = 12;     // between the main window and a window opened beside it
constexpr int kCascade = 28;  // each further companion window opens this much lower and right
}

View::View(Form& main, const std::vector<Form*>& others) {
  forms_.push_back(std::make_unique<FormView>(main));
  for (Form* f : others) forms_.push_back(std::make_unique<FormView>(*f));

  FormWindow& mw = main_window();
  mw.on_close = [this] {
    if (on_main_closed)
      on_main_closed();
    else
      QCoreApplication::quit();
  };
  // The main window and the first companion window side by side, centred on the screen.
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect avail = screen->availableGeometry();
    const int beside = forms_.size() > 1 ? forms_[1]->window().width() + kGap : 0;
    const int x = avail.left() + std::max(0, (avail.width() - mw.width() - beside) / 2);
    const int y = avail.top() + std::max(0, (avail.height() - mw.height()) / 3);
    mw.move(x, y);
  }
  for (size_t i = 1; i < forms_.size(); ++i) {
    FormView& fv = *forms_[i];
    fv.window().on_close = [&fv] { fv.form().Hide(); };
    const int shift = static_cast<int>(i - 1) * kCascade;
    fv.before_first_show = [this, shift](FormWindow& w) {
      const QRect frame = main_window().frameGeometry();
      int x = frame.right() + kGap + shift;
      if (const QScreen* screen = main_window().screen()) {
        const QRect avail = screen->availableGeometry();
        if (x + w.width() > avail.right()) x = std::max(avail.left(), avail.right() - w.width());
      }
      w.move(x, frame.top() + shift);
    };
  }
}

FormWindow* View::window(const Form& form) const {
  for (const auto& fv : forms_)
    if (&fv->form() == &form) return &fv->window();
  return nullptr;
}

void View::flush() {
  for (const auto& fv : forms_) fv->flush();
}

bool View::pending() const {
  for (const auto& fv : forms_)
    if (fv->pending()) return true;
  return false;
}

}  // namespace ks::view
