// The common base of every object that an r_list carries and may delete:
// deleting through it runs the object's own destructor, whatever its type.
#ifndef DESKTOP_WINLIB_CONTAINERS_LIST_PAYLOAD_H
#define DESKTOP_WINLIB_CONTAINERS_LIST_PAYLOAD_H

class listPayload {
 public:
  listPayload() = default;
  listPayload(const listPayload&) = default;
  listPayload& operator=(const listPayload&) = default;
  virtual ~listPayload() = default;
};

#endif
