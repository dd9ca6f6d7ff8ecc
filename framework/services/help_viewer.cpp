#include "framework/services/help_viewer.h"

#include "framework/data/globals.h"
#include "framework/runtime/front_end.h"
#include "framework/runtime/keys.h"
#include "framework/runtime/window_resource.h"

namespace slownik::svc {

void HelpViewer::init(std::shared_ptr<rt::Window> window, std::string helpFile, int /*number*/) {
  kill();
  window_ = std::move(window);
  helpFile_ = std::move(helpFile);
  topic_.clear();
  active_ = true;
  if (window_) window_->alert(rt::key::F1);
}

void HelpViewer::setTopic(std::string page) {
  if (active_) topic_ = std::move(page);
}

std::string HelpViewer::pagePath() const {
  if (topic_.empty()) return {};
  return rt::resourceRoot() + "/help/" + topic_;
}

bool HelpViewer::show() const {
  if (!active_ || topic_.empty()) return false;
  rt::frontEnd().showHelp(pagePath(), topic_);
  return true;
}

bool HelpViewer::takeEvent(const rt::Event& e) const {
  if (e.code != rt::event::AlertKey || e.keyCode != rt::key::F1) return false;
  show();
  return true;
}

void HelpViewer::kill() {
  if (active_ && window_ && !window_->isClosed()) window_->removeAlert(rt::key::F1);
  active_ = false;
  window_.reset();
  topic_.clear();
}

std::string moduleHelpFile() { return data::glo().LOCALPATH.get() + "\\" + "vex2000.chm"; }

}  // namespace slownik::svc
