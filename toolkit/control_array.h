#pragma once
#include <cstddef>
#include <memory>
#include <vector>

namespace tk {

// A control array: controls of one name told apart by their index, as
// Option1(0) .. Option1(3).
template <class T>
class ControlArray {
 public:
  template <class... Args>
  T& add(Args&&... args) {
    items_.push_back(std::make_unique<T>(std::forward<Args>(args)...));
    return *items_.back();
  }
  T& operator[](std::size_t i) { return *items_.at(i); }
  const T& operator[](std::size_t i) const { return *items_.at(i); }
  std::size_t size() const { return items_.size(); }

 private:
  std::vector<std::unique_ptr<T>> items_;
};

}  // namespace tk
