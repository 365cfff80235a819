#pragma once
// A vector that keeps its first N elements inside itself and uses the heap only beyond them.
// A lesson record holds one recording and one or two answers as a rule: kept in place, they cost
// no allocation when a lesson is read, reversed, merged for an exam or copied, which is where a
// lesson of many entries spent most of its time.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <new>
#include <stdexcept>
#include <utility>
#include <vector>

namespace verbaro {

template <typename T, size_t N>
class SmallVector {
  static_assert(N > 0, "keep at least one element in place");

 public:
  using value_type = T;
  using size_type = size_t;
  using difference_type = std::ptrdiff_t;
  using reference = T&;
  using const_reference = const T&;
  using pointer = T*;
  using const_pointer = const T*;
  using iterator = T*;
  using const_iterator = const T*;

  SmallVector() noexcept = default;
  SmallVector(std::initializer_list<T> items) { append(items.begin(), items.end()); }
  SmallVector(size_t count, const T& value) { assign(count, value); }
  template <std::input_iterator It>
  SmallVector(It first, It last) {
    append(first, last);
  }
  SmallVector(const SmallVector& other) { append(other.begin(), other.end()); }
  SmallVector(SmallVector&& other) noexcept { TakeFrom(other); }
  ~SmallVector() {
    clear();
    ReleaseHeap();
  }

  SmallVector& operator=(const SmallVector& other) {
    if (this != &other) assign(other.begin(), other.end());
    return *this;
  }
  SmallVector& operator=(SmallVector&& other) noexcept {
    if (this != &other) {
      clear();
      ReleaseHeap();
      TakeFrom(other);
    }
    return *this;
  }
  SmallVector& operator=(std::initializer_list<T> items) {
    assign(items.begin(), items.end());
    return *this;
  }
  SmallVector& operator=(const std::vector<T>& items) {
    assign(items.begin(), items.end());
    return *this;
  }

  // ---- access ----
  size_t size() const noexcept { return m_size; }
  bool empty() const noexcept { return m_size == 0; }
  size_t capacity() const noexcept { return m_capacity; }
  T* data() noexcept { return m_data; }
  const T* data() const noexcept { return m_data; }
  iterator begin() noexcept { return m_data; }
  iterator end() noexcept { return m_data + m_size; }
  const_iterator begin() const noexcept { return m_data; }
  const_iterator end() const noexcept { return m_data + m_size; }
  T& operator[](size_t i) noexcept { return m_data[i]; }
  const T& operator[](size_t i) const noexcept { return m_data[i]; }
  T& at(size_t i) { return m_data[Checked(i)]; }
  const T& at(size_t i) const { return m_data[Checked(i)]; }
  T& front() noexcept { return m_data[0]; }
  const T& front() const noexcept { return m_data[0]; }
  T& back() noexcept { return m_data[m_size - 1]; }
  const T& back() const noexcept { return m_data[m_size - 1]; }

  // ---- changes ----
  void reserve(size_t capacity) {
    if (capacity > m_capacity) Grow(capacity);
  }
  void clear() noexcept {
    std::destroy(begin(), end());
    m_size = 0;
  }
  void push_back(const T& value) { emplace_back(value); }
  void push_back(T&& value) { emplace_back(std::move(value)); }
  template <typename... Args>
  T& emplace_back(Args&&... args) {
    if (m_size == m_capacity) {
      // The value may live in this vector: make it before the elements move.
      T value(std::forward<Args>(args)...);
      Grow(NextCapacity(m_size + 1));
      T* made = std::construct_at(end(), std::move(value));
      ++m_size;
      return *made;
    }
    T* made = std::construct_at(end(), std::forward<Args>(args)...);
    ++m_size;
    return *made;
  }
  void pop_back() noexcept {
    std::destroy_at(&back());
    --m_size;
  }
  template <std::input_iterator It>
  void append(It first, It last) {
    if constexpr (std::forward_iterator<It>) {
      reserve(m_size + static_cast<size_t>(std::distance(first, last)));
    }
    for (; first != last; ++first) emplace_back(*first);
  }
  template <std::input_iterator It>
  void assign(It first, It last) {
    clear();
    append(first, last);
  }
  void assign(size_t count, const T& value) {
    clear();
    reserve(count);
    for (size_t i = 0; i < count; ++i) emplace_back(value);
  }
  // Inserts before pos; the inserted elements may not come from this vector.
  template <std::input_iterator It>
  iterator insert(const_iterator pos, It first, It last) {
    const size_t at = static_cast<size_t>(pos - begin());
    const size_t before = m_size;
    append(first, last);
    std::rotate(begin() + at, begin() + before, end());
    return begin() + at;
  }
  iterator insert(const_iterator pos, T value) {
    const size_t at = static_cast<size_t>(pos - begin());
    emplace_back(std::move(value));
    std::rotate(begin() + at, end() - 1, end());
    return begin() + at;
  }
  iterator erase(const_iterator pos) { return erase(pos, pos + 1); }
  iterator erase(const_iterator first, const_iterator last) {
    T* from = begin() + (first - begin());
    T* to = begin() + (last - begin());
    T* kept = std::move(to, end(), from);
    std::destroy(kept, end());
    m_size = static_cast<uint32_t>(kept - begin());
    return from;
  }

  friend bool operator==(const SmallVector& a, const SmallVector& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end());
  }
  friend bool operator==(const SmallVector& a, const std::vector<T>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end());
  }

 private:
  T* Inline() noexcept { return reinterpret_cast<T*>(m_inline); }
  bool OnHeap() const noexcept { return m_data != reinterpret_cast<const T*>(m_inline); }

  size_t Checked(size_t i) const {
    if (i >= m_size) throw std::out_of_range("SmallVector::at");
    return i;
  }

  size_t NextCapacity(size_t needed) const { return std::max<size_t>(needed, 2 * m_capacity); }

  void Grow(size_t capacity) {
    if (capacity > UINT32_MAX) throw std::length_error("SmallVector");
    T* fresh = std::allocator<T>{}.allocate(capacity);
    std::uninitialized_move(begin(), end(), fresh);
    std::destroy(begin(), end());
    ReleaseHeap();
    m_data = fresh;
    m_capacity = static_cast<uint32_t>(capacity);
  }

  void ReleaseHeap() noexcept {
    if (OnHeap()) std::allocator<T>{}.deallocate(m_data, m_capacity);
    m_data = Inline();
    m_capacity = N;
  }

  // Takes other's elements (its heap block, or its elements moved one by one from its inside),
  // leaving it empty; this vector is empty and inline before.
  void TakeFrom(SmallVector& other) noexcept {
    if (other.OnHeap()) {
      m_data = other.m_data;
      m_capacity = other.m_capacity;
      m_size = other.m_size;
      other.m_data = other.Inline();
      other.m_capacity = N;
      other.m_size = 0;
      return;
    }
    std::uninitialized_move(other.begin(), other.end(), Inline());
    m_size = other.m_size;
    other.clear();
  }

  T* m_data = reinterpret_cast<T*>(m_inline);
  uint32_t m_size = 0;
  uint32_t m_capacity = N;
  alignas(T) unsigned char m_inline[N * sizeof(T)];
};

}  // namespace verbaro
