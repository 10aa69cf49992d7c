#pragma once
// Device context handles: the number an OnPaint block or a PaintWindow method receives names
// the painter the control is painting with, for as long as the paint lasts.
class QPainter;

namespace kv::ui {

// Names `painter` by a new handle for the lifetime of the scope.
class DeviceContext {
 public:
  explicit DeviceContext(QPainter* painter);
  ~DeviceContext();
  DeviceContext(const DeviceContext&) = delete;
  DeviceContext& operator=(const DeviceContext&) = delete;
  int handle() const { return handle_; }

 private:
  int handle_;
};

// The painter a handle names, null when the paint that made it is over.
QPainter* painterOf(int handle);

}  // namespace kv::ui
