// r_list: the named, doubly linked list of payload pointers with one scan
// cursor built into the list.
//
// Every refused operation is reported through errormessage with a message
// that names the list, and leaves the list as it was. A list does not own its
// payloads unless an element's delete flag (destroy the payload) or free flag
// (release its memory without a destructor) says so; add always builds
// elements with both flags clear. Owners that own their payloads delete them
// with delete_list_items or delete_all.
//
// Payloads that a list may delete are listPayload objects (or plain records
// without a destructor), so deleting one always runs its own destructor.
#ifndef DESKTOP_WINLIB_CONTAINERS_R_LIST_H
#define DESKTOP_WINLIB_CONTAINERS_R_LIST_H

#include <cstdint>
#include <cstring>
#include <new>
#include <type_traits>
#include <unordered_set>
#include <utility>

#include "desktop/winlib/containers/list_payload.h"
#include "desktop/winlib/messages/messages.h"

template <class T>
class r_list;

template <class T>
struct r_list_element {
  T* payload = nullptr;
  uint8_t free_flag = 0;    // release the payload's memory without a destructor
  uint8_t delete_flag = 0;  // destroy the payload; wins over free_flag
  r_list<T>* owner = nullptr;
  r_list_element* next = nullptr;
  r_list_element* prev = nullptr;

  explicit r_list_element(T* p) : payload(p) {}
  r_list_element(const r_list_element&) = delete;
  r_list_element& operator=(const r_list_element&) = delete;
  ~r_list_element() { release_payload(); }

  void release_payload() {
    static_assert(std::is_base_of<listPayload, T>::value || std::is_trivially_destructible<T>::value,
                  "a list payload that may be deleted derives from listPayload or is a plain record");
    if (!payload) return;
    if (delete_flag) {
      delete payload;
    } else if (free_flag) {
      ::operator delete(static_cast<void*>(payload));
    }
    payload = nullptr;
  }
};

template <class T>
class r_list {
 public:
  using element = r_list_element<T>;
  static constexpr int name_size = 32;

  explicit r_list(const char* list_name = "nameless") { set_name(list_name); }
  r_list(const r_list&) = delete;
  r_list& operator=(const r_list&) = delete;

  // A list destroyed while its scan is active reports the misuse (through
  // clear) and then releases its elements all the same: nothing can reach
  // them once the list is gone.
  virtual ~r_list() {
    clear();
    if (tail_) {
      ScanActiveFlag = 0;
      clear();
    }
  }

  void set_name(const char* list_name) {
    if (!list_name) list_name = "nameless";
    if (std::strlen(list_name) >= static_cast<size_t>(name_size)) {
      errormessage("### r_list, name [%s] too long ###", list_name);
      list_name = "too long";
    }
    std::strcpy(name_, list_name);
  }
  const char* name() const { return name_; }

  // Appends payload; with unique set, a payload already present gives null
  // and nothing is added.
  element* add(T* payload, uint8_t unique = 0) {
    if (unique && find(payload)) return nullptr;
    element* e = new (std::nothrow) element(payload);
    element* added = add_lep(e);
    if (!added) delete e;  // a refused add keeps nothing
    return added;
  }

  element* add_lep(element* e) {
    if (!e) {
      errormessage("### list add(list element): LIST ELEMENT IS NULL ###");
      return nullptr;
    }
    if (ScanActiveFlag) {
      errormessage("### list add: scan is active ###");
      return nullptr;
    }
    e->next = nullptr;
    e->prev = tail_;
    if (tail_) {
      tail_->next = e;
    } else {
      head_ = e;
    }
    tail_ = e;
    e->owner = this;
    ++count_;
    return e;
  }

  // Unlinks e; with destroy set, destroys it (and its payload by its flags).
  // Returns 1 when removed, 0 when refused.
  int remove_lep(element* e, uint8_t destroy) {
    if (ScanActiveFlag) {
      errormessage("###   r_list::remove_lep [%s] ###\n REMOVAL WHILE SCAN IS ACTIVE!", name_);
      return 0;
    }
    if (!e) {
      errormessage("###  r_list::remove_lep( lep )[%s]  ###\nLIST ELEMENT POINTER IS NULL!", name_);
      return 0;
    }
    if (e->owner != this) {
      errormessage("###  r_list::remove_lep  [%s] ###\nLIST ELEMENT NOT A MEMBER OF CURRENT LIST!", name_);
      return 0;
    }
    if (!e->next) {
      tail_ = e->prev;
      if (tail_) {
        tail_->next = nullptr;
      } else {
        head_ = nullptr;
      }
    } else if (e->prev) {
      e->next->prev = e->prev;
      e->prev->next = e->next;
    } else {
      head_ = e->next;
      head_->prev = nullptr;
    }
    if (cursor_ == e) cursor_ = nullptr;  // never left on a removed element
    e->owner = nullptr;
    --count_;
    if (destroy) delete e;
    return 1;
  }

  // Removes and destroys elements from the tail; stops at the first refusal.
  void clear() {
    while (tail_) {
      if (!remove_lep(tail_, 1)) return;
    }
  }
  void remove_all() { clear(); }

  element* scan_init_l() {
    if (ScanActiveFlag) {
      errormessage("### r_list::scan_init_l [%s] scan already active ###\nw/ ScanActiveFlag TRUE8.", name_);
    }
    cursor_ = head_;
    if (head_) ScanActiveFlag = 1;
    return cursor_;
  }

  element* scan_next_l() {
    if (!ScanActiveFlag) {
      errormessage("### r_list::scan_next_l [%s] ###\nScanActiveFlag is FALSE8.", name_);
      return nullptr;
    }
    if (!cursor_) {
      errormessage("### r_list::scan_next_l [%s] ###\nCurrent element is NULL.", name_);
      return nullptr;
    }
    cursor_ = cursor_->next;
    if (!cursor_) ScanActiveFlag = 0;
    return cursor_;
  }

  void scan_end() { ScanActiveFlag = 0; }
  bool scan_active() const { return ScanActiveFlag != 0; }

  T* first() {
    element* e = scan_init_l();
    if (!e) {
      scan_end();
      return nullptr;
    }
    return e->payload;
  }

  T* next() {
    element* e = scan_next_l();
    return e ? e->payload : nullptr;
  }

  // The element holding key (pointer equality), or null. A hit ends the scan
  // with the cursor left on the element.
  element* find(const T* key) {
    for (element* e = scan_init_l(); e; e = scan_next_l()) {
      if (e->payload == key) {
        scan_end();
        return e;
      }
    }
    return nullptr;
  }

  T* get(uint16_t index) {
    element* e = walk_to(index, "### r_list::get(%d) [%s] ### INDEX IS OUT OF RANGE");
    return e ? e->payload : nullptr;
  }

  element* get_lep(uint16_t index) {
    return walk_to(index, "### r_list::get_lep(%d) [%s] ### INDEX IS OUT OF RANGE");
  }

  // Removes the element under the cursor and returns the following payload,
  // the scan going on from there; null (scan ended) at the end.
  T* remove_current() {
    scan_end();
    if (!cursor_) return nullptr;
    element* following = cursor_->next;
    remove_lep(cursor_, 1);
    cursor_ = following;
    if (!cursor_) return nullptr;
    ScanActiveFlag = 1;
    return cursor_->payload;
  }

  // Inserts payload in front of the scan cursor and ends the scan.
  void insert_before(T* payload) {
    if (!ScanActiveFlag) {
      errormessage("### list: insert_before [%s] ###ScanActiveFlag is FALSE8.", name_);
      return;
    }
    scan_end();
    if (!cursor_) {
      if (!head_) add(payload, 0);
      return;
    }
    element* e = new (std::nothrow) element(payload);
    if (!e) return;
    e->next = cursor_;
    e->prev = cursor_->prev;
    if (cursor_->prev) {
      cursor_->prev->next = e;
    } else {
      head_ = e;
    }
    cursor_->prev = e;
    e->owner = this;
    ++count_;
  }

  // Exchanges the payloads and flags of two elements, which keep their places.
  bool swap(element* a, element* b) {
    if (ScanActiveFlag) {
      errormessage("### r_list<TYP>::swap [%s] ###\nscan is active.", name_);
      return false;
    }
    if (!a || !b) {
      errormessage("### r_list<TYP>::swap [%s] ###\nargument(s) is(are) NULL.", name_);
      return false;
    }
    std::swap(a->payload, b->payload);
    std::swap(a->free_flag, b->free_flag);
    std::swap(a->delete_flag, b->delete_flag);
    return true;
  }

  int32_t count() const { return count_; }
  T* head_item() const { return head_ ? head_->payload : nullptr; }
  element* head() const { return head_; }
  element* tail() const { return tail_; }
  element* cursor() const { return cursor_; }

 private:
  element* walk_to(uint16_t index, const char* out_of_range) {
    if (static_cast<int32_t>(index) >= count_) {
      errormessage(out_of_range, static_cast<int>(index), name_);
      return nullptr;
    }
    element* e = scan_init_l();
    for (uint16_t i = 0; e && i < index; ++i) e = scan_next_l();
    scan_end();
    return e;
  }

  uint8_t ScanActiveFlag = 0;
  element* cursor_ = nullptr;
  int32_t count_ = 0;
  char name_[name_size] = {};
  element* head_ = nullptr;
  element* tail_ = nullptr;
};

// Deletes every payload of list once (null payloads are skipped, a payload
// held twice is deleted once), then removes all its elements; the list is
// left empty and holds no deleted payload. Returns the list.
template <class T>
r_list<T>* delete_list_items(r_list<T>* list) {
  static_assert(std::is_base_of<listPayload, T>::value || std::is_trivially_destructible<T>::value,
                "a list payload that may be deleted derives from listPayload or is a plain record");
  if (!list) return list;
  std::unordered_set<T*> deleted;
  for (r_list_element<T>* e = list->scan_init_l(); e; e = list->scan_next_l()) {
    if (e->payload && deleted.insert(e->payload).second) delete e->payload;
    e->payload = nullptr;
  }
  list->scan_end();
  list->remove_all();
  return list;
}

// The same for a heap-allocated list, which is deleted as well.
template <class T>
void delete_all(r_list<T>* list) {
  delete delete_list_items(list);
}

#endif
