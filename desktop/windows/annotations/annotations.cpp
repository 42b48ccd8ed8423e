#include "desktop/windows/annotations/annotations.h"

#include <algorithm>

#include "desktop/windows/annotations/annotation_edit.h"
#include "desktop/winlib/drawing/colours.h"

namespace {

constexpr double text_height_mm = 5.0;
constexpr int text_weight = 50;

}  // namespace

annotationItem::annotationItem(winTypeClass* owner, const char* format, double x, double y, double page_x,
                               double page_y)
    : owner_(owner), anchor_x_(x), anchor_y_(y) {
  paper scale;
  scale.copy_from(screen_paper);
  text_.init_sized(owner ? owner->hwnd() : nullptr, format ? format : " ", 1, page_x, page_y, scale, text_height_mm,
                   text_weight, "Arial");
}

annotationItem::~annotationItem() {
  std::vector<annotationEditClass*> open;
  open.swap(editors_);
  for (annotationEditClass* editor : open) {
    editor->forget_annotation();
    delete editor;
  }
}

void annotationItem::set_anchor(double x, double y) {
  anchor_x_ = x;
  anchor_y_ = y;
}

bool annotationItem::contains(double page_x, double page_y) const { return text_.contains(page_x, page_y); }

void annotationItem::set_text(const char* text) { text_.set_format_text(text ? text : "", 0); }

const char* annotationItem::text() {
  stringObjectClass* line = text_.line(0);
  return line ? line->format_text() : "";
}

bool annotationItem::choose_font() { return text_.choose_font(false, owner_ ? owner_->hwnd() : nullptr); }

void annotationItem::set_text_color(int index) { text_.set_text_color(colour_value(index)); }

void annotationItem::set_background_color(int index) {
  text_.set_background_color(colour_value(index));
  text_.set_opaque();
}

void annotationItem::set_transparent() { text_.set_transparent(); }

void annotationItem::draw(HDC dc, const paper& scale, double page_x, double page_y) {
  text_.move_to(page_x, page_y);
  text_.refresh(dc, scale);
}

void annotationItem::attach_editor(annotationEditClass* editor) {
  if (editor && std::find(editors_.begin(), editors_.end(), editor) == editors_.end()) editors_.push_back(editor);
}

void annotationItem::detach_editor(annotationEditClass* editor) {
  editors_.erase(std::remove(editors_.begin(), editors_.end(), editor), editors_.end());
}

annotationListClass::~annotationListClass() { delete_list_items(&annotations_); }

annotationItem* annotationListClass::find_annotation(winTypeClass* owner, double page_x, double page_y,
                                                     double editor_x, double editor_y) {
  annotationItem* found = nullptr;
  for (annotationItem* item = annotations_.first(); item; item = annotations_.next()) {
    if (item->contains(page_x, page_y)) {
      found = item;
      break;
    }
  }
  annotations_.scan_end();
  if (found && editor_x != 0.0) {
    new annotationEditClass(owner, "edit annotation", found, screen_paper.px_x(editor_x),
                            screen_paper.px_y(editor_y));
  }
  return found;
}

int annotationListClass::add_annotation(winTypeClass* owner, double x, double y, int screen_x, int screen_y) {
  auto* item = new annotationItem(owner, " ", x, y, x_to_page(x, screen_paper), y_to_page(y, screen_paper));
  if (!annotations_.add(item)) {
    delete item;
    return -1;
  }
  new annotationEditClass(owner, "add annotation", item, screen_x, screen_y);
  return annotations_.count() - 1;
}

void annotationListClass::draw_annotations(HDC dc, const paper& scale) {
  for (annotationItem* item = annotations_.first(); item; item = annotations_.next()) {
    item->draw(dc, scale, x_to_page(item->anchor_x(), scale), y_to_page(item->anchor_y(), scale));
  }
  annotations_.scan_end();
}

annotationItem* annotationListClass::annotation(int index) {
  if (index < 0 || index >= annotations_.count()) return nullptr;
  return annotations_.get(static_cast<uint16_t>(index));
}
