#pragma once
// Blocking message box with one OK button and no owner window.

enum class BoxIcon { None, Warning };

class MessageBoxPort {
 public:
  // Returns when the user has closed the box; the answer is of no interest.
  virtual void ShowMessage(const char* text, const char* caption, BoxIcon icon) = 0;

 protected:
  ~MessageBoxPort() = default;
};
