#include <cstdio>
#include <string>

#include "desktop/winlib/containers/byte_object.h"
#include "desktop/winlib/messages/debug_log.h"
#include "desktop/winlib/math/matrix.h"

namespace {

// Determinant of the n x n block of rows (by position); expansion along
// the first row, each minor a matrix with the same first indices.
double determinant_of(const double* const* a, int n, int first_row, int first_col) {
  if (n == 1) return a[0][0];
  if (n == 2) return a[0][0] * a[1][1] - a[1][0] * a[0][1];
  double sum = 0.0;
  for (int c = 0; c < n; c++) {
    if (a[0][c] == 0.0) continue;
    matrix<double> minor(first_row, first_row + n - 2, first_col, first_col + n - 2);
    double** m = minor.blocks();
    for (int r = 1; r < n; r++) {
      for (int k = 0, mk = 0; k < n; k++) {
        if (k != c) m[r - 1][mk++] = a[r][k];
      }
    }
    double term = a[0][c] * determinant_of(minor.blocks(), n - 1, first_row, first_col);
    sum += (c % 2 == 0) ? term : -term;
  }
  return sum;
}

// row[k] -= factor * row[i], in both matrices.
void subtract_row(double** in, double** out, int n, int k, int i, double factor) {
  for (int c = 0; c < n; c++) {
    in[k][c] -= factor * in[i][c];
    out[k][c] -= factor * out[i][c];
  }
}

}  // namespace

double determinant(const matrix<double>& m) {
  int n = m.order();
  if (n < 1) {
    errormessage("*** determinant: MATRIX IS NOT SQUARE (%d x %d) ***", m.row_count(), m.col_count());
    return 0.0;
  }
  return determinant_of(m.blocks(), n, m.first_row(), m.first_col());
}

bool invert(matrix<double>& in, matrix<double>& out) {
  if (in.row_count() != out.row_count() || in.col_count() != out.col_count()) {
    errormessage("*** invert: in and out are not dimensioned the same. ***");
    return false;
  }
  int n = in.order();
  if (n < 1) {
    errormessage("*** invert: MATRIX IS NOT SQUARE (%d x %d) ***", in.row_count(), in.col_count());
    return false;
  }
  double** a = in.blocks();
  double** b = out.blocks();
  for (int r = 0; r < n; r++) {
    for (int c = 0; c < n; c++) b[r][c] = r == c ? 1.0 : 0.0;
  }
  for (int i = 0; i < n; i++) {
    if (a[i][i] == 0.0) {
      errormessage("*** invert: A1(%d,%d) is zero ***", i, i);
      return false;
    }
    double scale = 1.0 / a[i][i];
    for (int c = 0; c < n; c++) {
      a[i][c] *= scale;
      b[i][c] *= scale;
    }
    for (int k = i + 1; k < n; k++) {
      if (a[k][i] != 0.0) subtract_row(a, b, n, k, i, a[k][i]);
    }
  }
  for (int i = 1; i < n; i++) {
    for (int k = i - 1; k >= 0; k--) {
      if (a[k][i] != 0.0) subtract_row(a, b, n, k, i, a[k][i]);
    }
  }
  return true;
}

void print_matrix(byteObjectClass& buffer, const matrix<double>& m) {
  char number[64];
  for (int r = 0; r < m.row_count(); r++) {
    for (int c = 0; c < m.col_count(); c++) {
      snprintf(number, sizeof number, "%9.2E ", m.blocks()[r][c]);
      buffer.append(number);
    }
    buffer.append("\n");
  }
}

void log_matrix(const matrix<double>& m, const char* name) {
  log_message("%s, order %d", name ? name : "", m.order());
  char number[64];
  for (int r = 0; r < m.row_count(); r++) {
    std::string line = "| ";
    for (int c = 0; c < m.col_count(); c++) {
      snprintf(number, sizeof number, "%15lg ", m.blocks()[r][c]);
      line += number;
    }
    line += "|";
    log_message("%s", line.c_str());
  }
}
