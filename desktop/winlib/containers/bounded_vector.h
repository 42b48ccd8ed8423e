// A vector indexed between a lower and an upper bound that its owner
// chooses, optionally growing by a fixed step. Used with doubles and with
// the 32-byte cells of text tables.
//
// `ele` is the way in: an index inside the bounds gives its element; one up
// to a step past the end of a growable vector grows it once; other indices
// are reported. Writes through `set` and `append` go nowhere when the index
// is outside the bounds.
#ifndef DESKTOP_WINLIB_CONTAINERS_BOUNDED_VECTOR_H
#define DESKTOP_WINLIB_CONTAINERS_BOUNDED_VECTOR_H

#include <cstdint>

#include "desktop/winlib/messages/messages.h"

template <class T>
class vector {
 public:
  vector(int lower, int upper, int step = 0)
      : growable_(step != 0 ? 1 : 0),
        last_(lower - 1),
        lower_(lower),
        upper_(upper),
        step_(step),
        highest_(lower - 1) {
    if (static_cast<int64_t>(upper) < static_cast<int64_t>(lower) - 1) {
      errormessage("*** vector: BAD INDEX RANGE [%d..%d] ***", lower, upper);
      upper_ = lower - 1;
    }
    capacity_ = upper_ - lower_ + 1;
    data_ = capacity_ > 0 ? new T[capacity_]() : nullptr;
  }
  ~vector() { delete[] data_; }
  vector(const vector&) = delete;
  vector& operator=(const vector&) = delete;

  // The element's address; see the header comment for the other cases. For
  // an index outside the bounds it reports (except for -1) and gives the
  // first element, or null when the vector has none.
  T* ele(int index) {
    bool inside = false;
    return locate(index, inside);
  }

  // Stores value at index; false (nothing written) outside the bounds.
  bool set(const T& value, int index) {
    bool inside = false;
    T* element = locate(index, inside);
    if (!inside) return false;
    *element = value;
    return true;
  }

  // The append cursor: the index of the last appended element.
  void set_last(int index) { last_ = index; }
  int last_index() const { return last_; }
  // Moves the cursor one on, then stores the value there; a refused store
  // leaves the cursor moved. Returns the new cursor.
  int append(const T& value) {
    last_++;
    set(value, last_);
    return last_;
  }

  int lower() const { return lower_; }
  int upper() const { return upper_; }
  int capacity() const { return capacity_; }
  int step() const { return step_; }
  int highest() const { return highest_; }
  static constexpr int element_size() { return static_cast<int>(sizeof(T)); }
  // The data block: capacity elements, element 0 at the lower bound.
  T* data() { return data_; }
  const T* data() const { return data_; }

 private:
  // The element of index and whether it lies inside the bounds (after a
  // growth step when one applies). Reports the refusals.
  T* locate(int index, bool& inside) {
    inside = false;
    if (index >= lower_ && index <= upper_) {
      inside = true;
    } else if (growable_ && index > upper_) {
      if (static_cast<int64_t>(index) > static_cast<int64_t>(upper_) + step_) {
        errormessage("*** index (%d) too large ***", index);
        return nullptr;
      }
      grow();
      inside = true;
    } else {
      if (index != -1) {
        errormessage("*** vector::ele COL/VECTOR INDEX OUT OF BOUNDS [%d..%d]<--[%d] ***", lower_, upper_, index);
      }
      return data_;
    }
    if (index > highest_) highest_ = index;
    return data_ + (index - lower_);
  }

  void grow() {
    T* block = new T[capacity_ + step_]();
    for (int i = 0; i < capacity_; i++) block[i] = data_[i];
    delete[] data_;
    data_ = block;
    capacity_ += step_;
    upper_ += step_;
  }

  uint8_t growable_;
  int last_;
  T* data_;
  int lower_;
  int upper_;
  int capacity_;
  int step_;
  int highest_;
};

// The double vector's helpers.
class byteObjectClass;

// Largest and smallest value from the lower bound up to the highest index
// touched; 0 when nothing was touched.
double vector_max(const vector<double>& v);
double vector_min(const vector<double>& v);
// Sum of a[i] * b[i], element by element; 0 (reported) for different sizes.
double vdot(const vector<double>& a, const vector<double>& b);
// c[i] = a[i] + b[i]; reported, and c unchanged, unless the sizes agree.
void vadd(const vector<double>& a, const vector<double>& b, vector<double>& c);
// Appends "%9.2E " for each element; clear_first empties the buffer first.
void print_vector(byteObjectClass& buffer, const vector<double>& v, bool clear_first = false);

#endif
