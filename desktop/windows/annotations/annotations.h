// Free text annotations of a graph window. Each annotation is pinned to a
// point in the window's data coordinates (time in mS, amplitude in uV) and
// drawn at that point's page position, recomputed at every drawing, so it
// follows its data through every rescaling and onto printed pages.
//
// annotationListClass is a base of the annotated window: the window supplies
// the mapping from data to page millimetres (x_to_page, y_to_page) and
// decides which mouse actions add, edit or move an annotation. The list owns
// its annotations; an annotation closes its open editors when it is deleted,
// so no editor commits into a deleted annotation.
#ifndef DESKTOP_WINDOWS_ANNOTATIONS_ANNOTATIONS_H
#define DESKTOP_WINDOWS_ANNOTATIONS_ANNOTATIONS_H

#include <windows.h>

#include <cstdint>
#include <vector>

#include "desktop/winlib/containers/list_payload.h"
#include "desktop/winlib/geometry/paper.h"
#include "desktop/winlib/containers/r_list.h"
#include "desktop/winlib/values/text_object.h"
#include "desktop/winlib/windows/window_object.h"

class annotationEditClass;

class annotationItem : public listPayload {
 public:
  // One line of text (the format text, with no arguments) in "Arial", 5.0 mm
  // high, weight 50, at (page_x, page_y) in millimetres of the owner's
  // window, anchored at (x, y) in data units.
  annotationItem(winTypeClass* owner, const char* format, double x, double y, double page_x, double page_y);
  // Closes every editor still open on it first.
  ~annotationItem() override;
  annotationItem(const annotationItem&) = delete;
  annotationItem& operator=(const annotationItem&) = delete;

  void set_anchor(double x, double y);
  double anchor_x() const { return anchor_x_; }
  double anchor_y() const { return anchor_y_; }
  // Whether the text's rectangle (as last drawn) holds the page point,
  // edges included.
  bool contains(double page_x, double page_y) const;
  // Line 0 of the text, as typed.
  void set_text(const char* text);
  const char* text();
  // The font dialog, parented to the owner's window; a chosen font becomes
  // the text's.
  bool choose_font();
  // Colours by index into the program's colour table; a background colour
  // also makes the background opaque.
  void set_text_color(int index);
  void set_background_color(int index);
  void set_transparent();

  // Moves the text to its page position and draws it.
  void draw(HDC dc, const paper& scale, double page_x, double page_y);

  winTypeClass* owner() const { return owner_; }
  textObjectClass& text_object() { return text_; }
  // The editors open on this annotation (an editor enters and leaves
  // itself).
  void attach_editor(annotationEditClass* editor);
  void detach_editor(annotationEditClass* editor);
  size_t open_editors() const { return editors_.size(); }

 private:
  winTypeClass* owner_;
  double anchor_x_;
  double anchor_y_;
  textObjectClass text_;
  std::vector<annotationEditClass*> editors_;
};

class annotationListClass {
 public:
  annotationListClass() = default;
  // Deletes every annotation (closing its editors first).
  virtual ~annotationListClass();
  annotationListClass(const annotationListClass&) = delete;
  annotationListClass& operator=(const annotationListClass&) = delete;

  // A data value to its page position in millimetres for the scale record.
  virtual double x_to_page(double x, const paper& scale) = 0;
  virtual double y_to_page(double y, const paper& scale) = 0;

  // The first annotation (in order of creation) whose text holds the page
  // point, or null. With editor_x not 0.0 it also opens an editor titled
  // "edit annotation" on it at the screen pixel of the screen paper's
  // (editor_x, editor_y).
  annotationItem* find_annotation(winTypeClass* owner, double page_x, double page_y, double editor_x,
                                  double editor_y);
  // A new annotation " " anchored at (x, y) in data units, with its editor
  // "add annotation" open at the screen pixel (screen_x, screen_y). Returns
  // its index.
  int add_annotation(winTypeClass* owner, double x, double y, int screen_x, int screen_y);
  // Every annotation at the page position of its anchor for the scale.
  void draw_annotations(HDC dc, const paper& scale);

  int annotation_count() const { return annotations_.count(); }
  annotationItem* annotation(int index);

 private:
  r_list<annotationItem> annotations_;
};

#endif
