#pragma once

#include <cstdint>

#include "qassert.h"

// Index value that stands for "no index": the cursor index of an empty list
// and the answer of IndexOf when nothing matches.
constexpr int TLIST_NO_INDEX = -37707;

// One element of a TList. The value comes first, so a pointer to the node is
// a pointer to its element.
template <class T>
struct TListNode {
  T value;
  TListNode* prev;
  TListNode* next;
};

// The container of all of QUARN's own data: a circular doubly linked list of
// value-owning nodes with positional access by index.
//
// The list remembers one node (the cursor) and its index; indexed access walks
// from the cursor toward the index, so loops with ascending or descending
// indices cost one step per element. Every insertion leaves the cursor at the
// head (index 0). Reading by index moves the cursor, which is why the cursor
// is mutable and reads work on const lists.
//
// Elements never move: a pointer or reference to an element stays valid until
// that element is removed (box neighbour links rely on this). Copying a list
// copies every element with T's copy constructor; moving a list hands its
// nodes over, so its elements stay where they are and the source is left
// empty.
//
// Indices outside 0 .. GetSize() - 1 are programming errors with no defined
// result; they end the process through a fatal assertion.
template <class T>
class TList {
 public:
  TList() = default;
  // A list holding one copy of element.
  explicit TList(const T& element) {
    Add(element);
    Rewind();
  }
  TList(const TList& other) { *this = other; }
  TList& operator=(const TList& other) {
    if (&other == this) return *this;
    Clear();
    if (other.head_) {
      const TListNode<T>* node = other.head_;
      do {
        Add(node->value);
        node = node->next;
      } while (node != other.head_);
    }
    Rewind();
    return *this;
  }
  TList(TList&& other) noexcept { Take(other); }
  TList& operator=(TList&& other) noexcept {
    if (&other == this) return *this;
    Clear();
    Take(other);
    return *this;
  }
  ~TList() { Clear(); }

  int GetSize() const { return static_cast<int>(count_); }

  T& operator[](int i) {
    Seek(i);
    return cursor_->value;
  }
  const T& operator[](int i) const {
    Seek(i);
    return cursor_->value;
  }

  // Appends a copy of value; the cursor ends at the head.
  void Add(const T& value) {
    if (head_) {
      InsertBetween(value, head_->prev, head_);
    } else {
      InsertBetween(value, nullptr, nullptr);
    }
  }

  // Appends copies of other's elements in index order. Adding a list to
  // itself appends one copy of each element present at the start.
  void AddList(const TList& other) {
    const int n = other.GetSize();
    for (int i = 0; i < n; ++i) Add(other[i]);
  }

  // Inserts a copy of value so that it becomes element i; requires
  // 0 <= i < GetSize() (use Add to append). The cursor ends at the head.
  void InsertAt(int i, const T& value) {
    Seek(i);
    InsertBetween(value, cursor_->prev, cursor_);
    if (i == 0) {
      head_ = head_->prev;
      cursor_ = head_;
    }
  }

  // Removes element i; the cursor moves to its successor.
  void RemoveAt(int i) {
    Seek(i);
    RemoveNode(cursor_);
  }

  // Removes the last element. On an empty list it reports an assertion and
  // does nothing.
  void RemoveLast() {
    if (!QUARN_ASSERT(cursor_ != nullptr)) return;
    SeekLast();
    RemoveNode(cursor_);
  }

  void Clear() {
    while (count_ > 0) RemoveNode(head_);
  }

  void Reverse() {
    if (count_ < 2) return;
    const TList copy(*this);
    Clear();
    for (int i = copy.GetSize() - 1; i >= 0; --i) Add(copy[i]);
  }

  // A copy in ascending order of T's operator<; equal elements keep their
  // order (stable insertion sort).
  TList GetSorted() const {
    if (count_ < 2) return *this;
    TList result((*this)[0]);
    for (int k = 1; k < GetSize(); ++k) {
      const T& element = (*this)[k];
      const int placed = result.GetSize();
      int j = 0;
      while (j < placed && !(element < result[j])) ++j;
      if (j < placed) {
        result.InsertAt(j, element);
      } else {
        result.Add(element);
      }
    }
    QUARN_ASSERT(result.GetSize() == GetSize());
    return result;
  }
  void Sort() { *this = GetSorted(); }

  // The index of the first element equal to value, or TLIST_NO_INDEX.
  int IndexOf(const T& value) const {
    if (!head_) return TLIST_NO_INDEX;
    Rewind();
    do {
      if (cursor_->value == value) return cursorIndex_;
      StepForward();
    } while (cursor_ != head_);
    return TLIST_NO_INDEX;
  }

  // Makes element i the first element; the ring order stays the same.
  void SetStart(int i) {
    Seek(i);
    head_ = cursor_;
    cursorIndex_ = 0;
  }

  // Cursor primitives. They move only the cursor, never the elements.
  // Rewind and SeekLast do nothing on an empty list, which keeps its cursor
  // index at TLIST_NO_INDEX.
  void Rewind() const {
    if (!head_) return;
    cursor_ = head_;
    cursorIndex_ = 0;
  }
  void SeekLast() const {
    if (!head_) return;
    cursor_ = head_->prev;
    cursorIndex_ = GetSize() - 1;
  }
  void StepForward() const {
    if (!cursor_) return;
    cursor_ = cursor_->next;
    cursorIndex_ = cursor_ == head_ ? 0 : cursorIndex_ + 1;
  }
  void StepBack() const {
    if (!cursor_) return;
    cursor_ = cursor_->prev;
    cursorIndex_ = cursor_ == head_->prev ? GetSize() - 1 : cursorIndex_ - 1;
  }
  // Moves the cursor to element i, walking from the cursor, the head or the
  // last element, whichever is nearest, so that the last element is one step
  // away after Add rewinds.
  void Seek(int i) const {
    QUARN_ASSERT_FATAL(cursor_ != nullptr);
    QUARN_ASSERT_FATAL(i < GetSize());
    QUARN_ASSERT_FATAL(i >= 0);
    const int fromCursor = i > cursorIndex_ ? i - cursorIndex_ : cursorIndex_ - i;
    const int fromLast = GetSize() - 1 - i;
    if (i < fromCursor && i <= fromLast) {
      Rewind();
    } else if (fromLast < fromCursor) {
      SeekLast();
    }
    while (i < cursorIndex_) StepBack();
    while (i > cursorIndex_) StepForward();
  }

  // The cursor's position: TLIST_NO_INDEX exactly when the list is empty.
  int GetCursorIndex() const { return cursorIndex_; }
  // The nodes themselves, for code and tests that inspect the ring; null
  // when the list is empty.
  const TListNode<T>* GetHeadNode() const { return head_; }
  const TListNode<T>* GetCursorNode() const { return cursor_; }

 private:
  // Takes over other's nodes with the cursor at the head; other is left
  // empty. This list must be empty.
  void Take(TList& other) {
    head_ = other.head_;
    cursor_ = head_;
    count_ = other.count_;
    cursorIndex_ = head_ ? 0 : TLIST_NO_INDEX;
    other.head_ = nullptr;
    other.cursor_ = nullptr;
    other.count_ = 0;
    other.cursorIndex_ = TLIST_NO_INDEX;
  }

  // Links a new copy of value between prev and next (both null when the
  // list is empty) and rewinds the cursor.
  void InsertBetween(const T& value, TListNode<T>* prev, TListNode<T>* next) {
    auto* node = new TListNode<T>{value, prev, next};
    if (head_) {
      next->prev = node;
      prev->next = node;
      Rewind();
    } else {
      head_ = node;
      node->prev = node;
      node->next = node;
      cursor_ = node;
      cursorIndex_ = 0;
    }
    ++count_;
  }

  // Unlinks and destroys node. When node is the cursor its successor takes
  // over its index.
  void RemoveNode(TListNode<T>* node) {
    --count_;
    if (count_ > 0) {
      node->prev->next = node->next;
      node->next->prev = node->prev;
      if (head_ == node) head_ = node->next;
      if (cursor_ == node) cursor_ = node->next;
      if (cursor_ == head_) cursorIndex_ = 0;
    } else {
      head_ = nullptr;
      cursor_ = nullptr;
      cursorIndex_ = TLIST_NO_INDEX;
    }
    delete node;
  }

  TListNode<T>* head_ = nullptr;
  mutable TListNode<T>* cursor_ = nullptr;
  std::uint32_t count_ = 0;
  mutable std::int32_t cursorIndex_ = TLIST_NO_INDEX;
};
