// A matrix of row vectors with index bounds for rows and columns, and the
// double matrix's algebra: determinant, inversion, printing.
#ifndef DESKTOP_WINLIB_MATH_MATRIX_H
#define DESKTOP_WINLIB_MATH_MATRIX_H

#include "desktop/winlib/containers/bounded_vector.h"
#include "desktop/winlib/messages/messages.h"

template <class T>
class matrix {
 public:
  matrix(int first_row, int last_row, int first_col, int last_col)
      : first_row_(first_row), last_row_(last_row), first_col_(first_col) {
    if (last_row < first_row - 1) last_row_ = first_row - 1;
    row_count_ = last_row_ - first_row_ + 1;
    col_count_ = last_col < first_col ? 0 : last_col - first_col + 1;
    rows_ = new vector<T>*[row_count_ > 0 ? row_count_ : 1];
    blocks_ = new T*[row_count_ > 0 ? row_count_ : 1];
    for (int r = 0; r < row_count_; r++) {
      rows_[r] = new vector<T>(first_col, first_col + col_count_ - 1, 0);
      blocks_[r] = rows_[r]->data();
    }
  }
  virtual ~matrix() { destroy(); }
  matrix(const matrix&) = delete;
  matrix& operator=(const matrix&) = delete;

  // Frees the row table and every row; the matrix is empty afterwards.
  void destroy() {
    delete[] blocks_;
    blocks_ = nullptr;
    if (rows_) {
      for (int r = 0; r < row_count_; r++) delete rows_[r];
    }
    delete[] rows_;
    rows_ = nullptr;
    row_count_ = 0;
    last_row_ = first_row_ - 1;
  }

  // The row vector; null (reported) outside the row bounds.
  vector<T>* row(int index) {
    if (index < first_row_ || index > last_row_) {
      errormessage("*** ROW OUT OF BOUNDS %d..%d..%d ***", first_row_, index, last_row_);
      return nullptr;
    }
    return rows_[index - first_row_];
  }
  // The element: null (reported) for a row outside the bounds; a column
  // outside them is handled as `vector::ele` does.
  T* element(int row_index, int col) {
    vector<T>* r = row(row_index);
    return r ? r->ele(col) : nullptr;
  }

  int order() const { return row_count_ == col_count_ ? row_count_ : 0; }
  int first_row() const { return first_row_; }
  int last_row() const { return last_row_; }
  int first_col() const { return first_col_; }
  int last_col() const { return first_col_ + col_count_ - 1; }
  int row_count() const { return row_count_; }
  int col_count() const { return col_count_; }
  // The rows' data blocks, by position from the first row; each holds
  // col_count() elements by position from the first column.
  T** blocks() { return blocks_; }
  const T* const* blocks() const { return blocks_; }

 private:
  int first_row_;
  int last_row_;
  int first_col_;
  int row_count_;
  int col_count_;
  T** blocks_ = nullptr;
  vector<T>** rows_ = nullptr;
};

// The double matrix with bounds 0..rows - 1 and 0..cols - 1.
class numeric_matrix : public matrix<double> {
 public:
  numeric_matrix(int rows, int cols) : matrix<double>(0, rows - 1, 0, cols - 1) {}
};

class byteObjectClass;

// Determinant of a square matrix (a 1 x 1 matrix gives its element); 0,
// reported, for a matrix that is not square or is empty.
double determinant(const matrix<double>& m);
// Gauss-Jordan inversion without row exchange: out becomes the inverse of
// in, and in is destroyed. False (reported) for different or non-square
// shapes and for a zero pivot.
bool invert(matrix<double>& in, matrix<double>& out);
// Appends each row as "%9.2E " per element and a line feed.
void print_matrix(byteObjectClass& buffer, const matrix<double>& m);
// Writes "%s, order %d" and one "| ... |" line per row to the debug log.
void log_matrix(const matrix<double>& m, const char* name);

#endif
