#include "desktop/winlib/values/link_object.h"

#include <cstring>

#include "desktop/winlib/messages/debug_log.h"
#include "desktop/winlib/messages/quiet_report.h"

// ---- refListClass ----------------------------------------------------------

referenceNodeClass* refListClass::find(const linkClass* other, int32_t kind) const {
  for (referenceNodeClass* link = head_; link; link = link->next) {
    if (link->other == other && (kind < 0 || link->kind == kind)) return link;
  }
  return nullptr;
}

void refListClass::unlink(referenceNodeClass* link) {
  if (link->previous) {
    link->previous->next = link->next;
  } else {
    head_ = link->next;
  }
  if (link->next) {
    link->next->previous = link->previous;
  } else {
    tail_ = link->previous;
  }
  delete link;
  --count_;
}

bool refListClass::add_dependency(linkClass* other, int32_t kind) {
  if (locked_ && kind == referenceNodeClass::ARGUMENT) {
    report_error("*** Attempt to add an argument to a locked object ***");
    return false;
  }
  if (!owner_) {
    report_error("*** refListClass::add_dependency, 'Me' is not set. ***");
    return false;
  }
  // A link without an object could only be followed into nothing.
  if (!other) {
    report_error("*** referenceNodeClass:  null source linkClass ***");
    return false;
  }
  if (find(other, kind)) return true;
  referenceNodeClass* link = new referenceNodeClass(other, kind, tail_, nullptr);
  if (tail_) {
    tail_->next = link;
  } else {
    head_ = link;
  }
  tail_ = link;
  ++count_;
  if (kind != referenceNodeClass::ARGUMENT) return true;
  // For a link to the owner itself this is the same list.
  return other->links_.add_dependency(owner_, referenceNodeClass::SINK);
}

bool refListClass::remove_link(linkClass* other) {
  if (!other) return true;
  referenceNodeClass* link = find(other, -1);
  if (!link) return false;
  unlink(link);
  return true;
}

void refListClass::destroy_list() {
  // The chain is taken off the list first and each link is read before it
  // is freed: removing the owner from another list never touches this one,
  // and a link to the owner itself needs nothing more than freeing.
  referenceNodeClass* link = head_;
  head_ = nullptr;
  tail_ = nullptr;
  while (link) {
    referenceNodeClass* next = link->next;
    linkClass* other = link->other;
    delete link;
    if (other && other != owner_) other->links_.remove_link(owner_);
    --count_;
    link = next;
  }
  if (count_ != 0) log_message("### Count is %d (not zero) after destroy_list ###", count_);
  count_ = 0;
}

void refListClass::report_links(const char* title) const {
  if (!title) title = "";
  log_message("%s", "");
  log_enter("=============== report_links  [%s] ====================", title);
  for (const referenceNodeClass* link = head_; link; link = link->next) {
    const char* other_name = link->other ? link->other->name() : "";
    if (link->kind == referenceNodeClass::ARGUMENT) {
      log_message("ARGUMENT [%16s]", other_name);
    } else if (link->kind == referenceNodeClass::SINK) {
      log_message("SINK     [%16s]", other_name);
    } else {
      log_message("UNKNOWN LINK");
    }
  }
  log_leave();
  log_message("=============== end report_links  [%s] ===============", title);
}

// ---- linkClass -------------------------------------------------------------

linkClass::linkClass(uint32_t type_code, int32_t word_value) : type_(type_code), word_(word_value), links_(this) {
  set_name("unknown");
}

linkClass::~linkClass() = default;

bool linkClass::numeric_value(double*) { return false; }
const char* linkClass::text_value() { return nullptr; }

void linkClass::set_name(const char* text) {
  if (!text) text = "unknown";
  size_t length = std::strlen(text);
  if (length >= static_cast<size_t>(name_size)) {
    report_error("*** linkClass::set_name, NAME [%s] IS LONGER THAN %d CHARACTERS ***", text, name_size - 1);
    length = name_size - 1;
  }
  std::memcpy(name_, text, length);
  name_[length] = 0;
}

void linkClass::report(const char* title) const {
  if (std::strcmp(name_, "unknown") == 0) return;
  log_message("report %2d [%32s] [%s]", static_cast<int>(type_), name_, title ? title : "");
}

bool linkClass::add_dependency(linkClass* other) { return links_.add_dependency(other, referenceNodeClass::ARGUMENT); }

bool linkClass::remove_link(linkClass* other) {
  if (!other) return true;
  referenceNodeClass* link = links_.find(other, -1);
  if (!link) return false;
  int32_t other_half =
      link->kind == referenceNodeClass::ARGUMENT ? referenceNodeClass::SINK : referenceNodeClass::ARGUMENT;
  links_.unlink(link);
  if (referenceNodeClass* back = other->links_.find(this, other_half)) other->links_.unlink(back);
  return true;
}

bool linkClass::add_argument_list(linkClass* const* list, int count) {
  bool all = add_dependency(list[0]);
  for (int i = 1; i < count && list[i]; ++i) {
    if (!add_dependency(list[i])) all = false;
  }
  return all;
}

bool linkClass::propagate(linkClass* origin) {
  if (busy_ || !active_) return true;
  quietReportScope quiet;
  busy_ = 1;
  if (this != origin && !update()) {
    busy_ = 0;
    return true;
  }
  for (referenceNodeClass* link = links_.head(); link; link = link->next) {
    if (link->kind == referenceNodeClass::SINK && link->other) link->other->propagate(this);
  }
  busy_ = 0;
  return true;
}

bool resolve_arguments(int n, referenceNodeClass* first, linkClass** out) {
  int found = 0;
  for (referenceNodeClass* link = first; link && found < n; link = link->next) {
    if (link->kind == referenceNodeClass::ARGUMENT) out[found++] = link->other;
  }
  if (found < n) {
    report_error("*** resolve_arguments, not enough %d wanted, %d found ***", n, found);
    return false;
  }
  return true;
}
