// The common base of every object that an r_list carries and may delete:
// deleting through it runs the object's own destructor, whatever its type.
#ifndef LIST_PAYLOAD_H
#define LIST_PAYLOAD_H

class listPayload {
 public:
  listPayload() = default;
  listPayload(const listPayload&) = default;
  listPayload& operator=(const listPayload&) = default;
  virtual ~listPayload() = default;
};

#endif
