// Batched repainting of a form's window, its timers and its visibility.
#include "form_view.h"

#include <algorithm>

namespace ks::view {

namespace {
// A change waits about one frame for the screen; while changes keep coming (a long computation),
// the screen catches up at most every kMinFlushGapMs, so repainting takes little of its time.
constexpr int kFlushDelayMs = 16;
constexpr qint64 kMinFlushGapMs = 40;
}  // namespace

FormView::FormView(Form& form) : form_(form), window_(std::make_unique<FormWindow>(form)) {
  flush_timer_.setSingleShot(true);
  QObject::connect(&flush_timer_, &QTimer::timeout, [this] { flush(); });
  form_.set_observer(this);
  flush();
}

FormView::~FormView() {
  if (form_.observer() == this) form_.set_observer(nullptr);
}

void FormView::control_changed(Control& c) {
  window_->canvas().mark(c);
  schedule();
}

void FormView::form_changed(Form&) {
  form_dirty_ = true;
  schedule();
}

// The focus decides where the player's next key goes, so it reaches the window at once, not with
// the next batch of changes.
void FormView::focus_changed(Form&) {
  window_->canvas().apply_focus();
  focus_dirty_ = true;  // and once more with the batch, should the box not be showing yet
  schedule();
}

void FormView::schedule() {
  if (pending_) return;
  pending_ = true;
  const qint64 since = since_flush_.isValid() ? since_flush_.elapsed() : kMinFlushGapMs;
  flush_timer_.start(static_cast<int>(std::max<qint64>(kFlushDelayMs, kMinFlushGapMs - since)));
}

void FormView::flush() {
  pending_ = false;
  flush_timer_.stop();
  since_flush_.start();
  window_->canvas().apply_changes();
  if (form_dirty_) {
    form_dirty_ = false;
    window_->sync_form();
    sync_timers();
    sync_visibility();
  }
  if (focus_dirty_) {
    focus_dirty_ = false;
    window_->canvas().apply_focus();
  }
}

void FormView::sync_timers() {
  const auto& model = form_.timers();
  while (timers_.size() < model.size()) {
    const size_t k = timers_.size();
    timers_.push_back(std::make_unique<QTimer>());
    ticking_.push_back(0);
    QObject::connect(timers_.back().get(), &QTimer::timeout, [this, k] {
      Timer& t = *form_.timers()[k];
      // A tick that was already queued when the model stopped the timer is dropped, and a
      // handler that yields is not entered again by its own next tick.
      if (!t.enabled() || ticking_[k] || !t.on_timer) return;
      ticking_[k] = 1;
      t.on_timer();
      ticking_[k] = 0;
    });
  }
  for (size_t k = 0; k < model.size(); ++k) {
    const Timer& t = *model[k];
    QTimer& q = *timers_[k];
    if (t.enabled() && t.interval() > 0) {
      if (!q.isActive() || q.interval() != t.interval()) q.start(t.interval());
    } else if (q.isActive()) {
      q.stop();
    }
  }
}

void FormView::sync_visibility() {
  if (form_.visible() && !window_->isVisible()) {
    if (!shown_once_ && before_first_show) before_first_show(*window_);
    shown_once_ = true;
    window_->show();
  } else if (!form_.visible() && window_->isVisible()) {
    window_->hide();
  }
}

}  // namespace ks::view
