// linkClass: the base of every value object, and its list of links.
//
// A value object names the objects it is computed from (its ARGUMENT links);
// each of those keeps a SINK link back to it. A change travels depth-first
// along the SINK links: each dependent recomputes itself (update) once per
// propagation, and the busy flag stops a cycle at the first object met a
// second time. Destroying an object takes it out of the lists of every object
// it was linked with.
//
// Errors met while a change propagates are logged once, not shown
// (quiet_report.h). Everything runs on the user-interface thread.
#ifndef DESKTOP_WINLIB_VALUES_LINK_OBJECT_H
#define DESKTOP_WINLIB_VALUES_LINK_OBJECT_H

#include <cstdint>

#include "desktop/winlib/containers/list_payload.h"

class linkClass;

// One link of an object's list.
class referenceNodeClass {
 public:
  static constexpr int32_t SINK = 0;      // other depends on the list's owner
  static constexpr int32_t ARGUMENT = 1;  // the owner is computed from other

  referenceNodeClass(linkClass* other_object, int32_t link_kind, referenceNodeClass* previous_link,
                     referenceNodeClass* next_link)
      : kind(link_kind), other(other_object), next(next_link), previous(previous_link) {}

  int32_t kind;
  linkClass* other;
  referenceNodeClass* next;
  referenceNodeClass* previous;
};

// The link list of one object (its owner, "Me" in the messages).
class refListClass {
 public:
  explicit refListClass(linkClass* owner_object) : owner_(owner_object) {}
  ~refListClass() { destroy_list(); }
  refListClass(const refListClass&) = delete;
  refListClass& operator=(const refListClass&) = delete;

  // Adds a link to other of the kind; an ARGUMENT also enters the owner as a
  // SINK in other's list. A link already there is not added again (true).
  // Refused (false, reported): a null other, an ARGUMENT for a locked list.
  bool add_dependency(linkClass* other, int32_t kind);
  // Removes the first link (of either kind) to other from this list only:
  // false when there is none; a null other is true.
  bool remove_link(linkClass* other);
  // Frees every link and takes the owner out of each linked object's list.
  void destroy_list();
  // Writes the links to the debug log.
  void report_links(const char* title) const;

  referenceNodeClass* head() const { return head_; }
  referenceNodeClass* tail() const { return tail_; }
  int32_t count() const { return count_; }
  linkClass* owner() const { return owner_; }
  // A locked list takes no further ARGUMENT; SINK links are still added.
  void lock() { locked_ = 1; }
  bool is_locked() const { return locked_ != 0; }

 private:
  friend class linkClass;
  // The first link to other of the kind (any kind when kind is negative).
  referenceNodeClass* find(const linkClass* other, int32_t kind) const;
  void unlink(referenceNodeClass* link);

  referenceNodeClass* head_ = nullptr;
  referenceNodeClass* tail_ = nullptr;
  int32_t count_ = 0;
  linkClass* owner_;
  uint8_t locked_ = 0;
};

class linkClass : public listPayload {
 public:
  static constexpr int name_size = 32;

  // Computes a value from the object's links (the first link is passed).
  using valueRoutine = double (*)(referenceNodeClass* first_link);
  using textRoutine = const char* (*)(referenceNodeClass* first_link);

  // type: the type code (6 numbers, 7 text objects, 9 texts ...); word: kept
  // as given (every value object of the program passes 1).
  linkClass(uint32_t type_code, int32_t word_value);
  ~linkClass() override;
  linkClass(const linkClass&) = delete;
  linkClass& operator=(const linkClass&) = delete;

  // Recomputes the object; true when it changed and its dependents are to
  // be visited.
  virtual bool update() = 0;

  // What the object gives as an argument of another: a number (true, into
  // out) or a text (non-null). The base gives neither.
  virtual bool numeric_value(double* out);
  virtual const char* text_value();

  // Names longer than 31 characters are reported and cut; null is "unknown".
  void set_name(const char* text);
  const char* name() const { return name_; }
  uint32_t type() const { return type_; }
  int32_t word() const { return word_; }
  // Logs "report %2d [%32s] [%s]" unless the object has no name.
  void report(const char* title) const;

  // An inactive object neither recomputes nor passes changes on.
  void set_active(bool on) { active_ = on ? 1 : 0; }
  bool is_active() const { return active_ != 0; }
  bool is_busy() const { return busy_ != 0; }

  // This object is computed from other (an ARGUMENT link).
  bool add_dependency(linkClass* other);
  // ARGUMENTs in order: the first and at most 20 more; a null ends the list.
  template <class... More>
  bool add_arguments(linkClass* first, More... more) {
    static_assert(sizeof...(More) <= 21, "at most 20 arguments after the first, and the closing null");
    linkClass* list[] = {first, static_cast<linkClass*>(more)...};
    return add_argument_list(list, sizeof list / sizeof list[0]);
  }
  // Sets the value routine, adds its arguments (at most 20 in all; a null
  // ends the list) and locks the list against further ARGUMENTs.
  template <class... More>
  bool define_routine(valueRoutine routine, linkClass* first, More... more) {
    static_assert(sizeof...(More) <= 20, "at most 20 arguments in all, and the closing null");
    value_routine_ = routine;
    linkClass* list[] = {first, static_cast<linkClass*>(more)...};
    bool added = add_argument_list(list, sizeof list / sizeof list[0]);
    links_.lock();
    return added;
  }
  // The routine that makes a text object's text from its links.
  void set_text_routine(textRoutine routine) { text_routine_ = routine; }

  referenceNodeClass* link_list() const { return links_.head(); }
  int32_t link_count() const { return links_.count(); }
  const refListClass& links() const { return links_; }
  // Removes the first link to other and its other half in other's list, so
  // neither object is left pointing at the other. False when there is none.
  bool remove_link(linkClass* other);

  // Passes a change on, depth-first along the SINK links: every object
  // reached but origin is updated, and its dependents are visited only when
  // it changed. An object already being visited, or inactive, is left
  // alone. propagate() starts a change at this object.
  bool propagate(linkClass* origin);
  bool propagate() { return propagate(this); }

 protected:
  valueRoutine value_routine() const { return value_routine_; }
  textRoutine text_routine() const { return text_routine_; }

 private:
  friend class refListClass;
  bool add_argument_list(linkClass* const* list, int count);

  char name_[name_size];
  uint32_t type_;
  int32_t word_;
  uint8_t active_ = 1;
  uint8_t busy_ = 0;
  refListClass links_;
  valueRoutine value_routine_ = nullptr;
  textRoutine text_routine_ = nullptr;
};

// Copies the other object of each of the first n ARGUMENT links from first
// on into out; fewer than n are reported and give false.
bool resolve_arguments(int n, referenceNodeClass* first, linkClass** out);

#endif
