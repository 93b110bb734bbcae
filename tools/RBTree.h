// MyTl::RBTree: an ordered map from Key to Value as a red-black tree; the game uses it as the
// set of removed squares. Keys are ordered by `Compare`, a strict less-than functor; two keys
// are the same when neither is less than the other. Keys are only ever inserted, never removed
// one by one; clear() empties the tree.
// One sentinel node (black, a member of the tree) stands for every missing child and for the
// root's parent. Nodes come from an ObjectPool and clear() hands them back to it, so refilling
// the tree after a clear allocates nothing once the pool has warmed up. The tree owns its nodes
// and frees them (and the pool's) when destroyed. It is neither copyable nor movable (nodes
// point at the member sentinel). Not thread-safe: one thread at a time.
#pragma once

#include <functional>
#include <iterator>

#include "ObjectPool.h"

namespace MyTl {

template <class Key, class Value, class Compare = std::less<Key>>
class RBTree {
 public:
  enum Colour : unsigned char { RED = 0, BLACK = 1 };

  // One entry. A node fresh from the pool has a default key and value, no links and black
  // colour; insert initialises it.
  struct Node {
    unsigned char colour = BLACK;
    Node* parent = nullptr;
    Node* left = nullptr;
    Node* right = nullptr;
    Key key{};
    Value value{};
  };

  // In-order iteration from the smallest key; `*it` is the node (read `.key` and `.value`).
  class const_iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = Node;
    using difference_type = std::ptrdiff_t;
    using pointer = const Node*;
    using reference = const Node&;

    const_iterator() = default;
    reference operator*() const { return *node; }
    pointer operator->() const { return node; }
    const_iterator& operator++() {
      node = tree->successor(node);
      return *this;
    }
    const_iterator operator++(int) {
      const_iterator before = *this;
      ++*this;
      return before;
    }
    bool operator==(const const_iterator& other) const { return node == other.node; }
    bool operator!=(const const_iterator& other) const { return node != other.node; }

   private:
    friend class RBTree;
    const_iterator(const RBTree* owner, const Node* at) : tree(owner), node(at) {}
    const RBTree* tree = nullptr;
    const Node* node = nullptr;
  };

  RBTree() : pool(POOL_CHUNK_SIZE, POOL_MAX_SIZE) {
    sentinel.colour = BLACK;
    sentinel.parent = sentinel.left = sentinel.right = &sentinel;
    root = &sentinel;
  }

  ~RBTree() {
    forEachNodePostOrder([](Node* node) { delete node; });
  }

  RBTree(const RBTree&) = delete;
  RBTree& operator=(const RBTree&) = delete;

  // Inserts key with value: true when inserted, false when the key was already present (the
  // tree, including that key's value, is left unchanged).
  bool insert(const Key& key, const Value& value) {
    Node* parent = &sentinel;
    Node* at = root;
    while (at != &sentinel) {
      parent = at;
      if (less(key, at->key)) {
        at = at->left;
      } else if (less(at->key, key)) {
        at = at->right;
      } else {
        return false;
      }
    }
    Node* node = pool.acquire();
    node->key = key;
    node->value = value;
    node->colour = RED;
    node->left = node->right = &sentinel;
    node->parent = parent;
    if (parent == &sentinel) {
      root = node;
    } else if (less(key, parent->key)) {
      parent->left = node;
    } else {
      parent->right = node;
    }
    ++keyCount;
    rebalanceAfterInsert(node);
    return true;
  }

  bool hasKey(const Key& key) const { return findNode(key) != nullptr; }

  // The value stored for key, or null when the key is absent.
  const Value* find(const Key& key) const {
    const Node* node = findNode(key);
    return node == nullptr ? nullptr : &node->value;
  }

  int count() const { return keyCount; }
  bool empty() const { return keyCount == 0; }

  // Empties the tree; every node goes back to the pool.
  void clear() {
    forEachNodePostOrder([this](Node* node) { pool.release(node); });
    root = &sentinel;
    keyCount = 0;
  }

  // Calls f(const Key&, const Value&) for every entry in ascending key order.
  template <class F>
  void forEachInOrder(F f) const {
    for (const Node& node : *this) f(node.key, node.value);
  }

  const_iterator begin() const {
    return const_iterator(this, root == &sentinel ? &sentinel : minimum(root));
  }
  const_iterator end() const { return const_iterator(this, &sentinel); }

  // Checks the red-black rules and the links: a red node has black children, every path from
  // a node down to the sentinel has the same number of black nodes, keys ascend in order, the
  // root is black and the count matches. For tests; linear time.
  bool isValid() const {
    if (root != &sentinel && (root->colour != BLACK || root->parent != &sentinel)) return false;
    if (sentinel.colour != BLACK) return false;
    int nodes = 0;
    if (blackHeight(root, nodes) < 0) return false;
    if (nodes != keyCount) return false;
    const Node* previous = nullptr;
    for (const Node& node : *this) {
      if (previous != nullptr && !less(previous->key, node.key)) return false;
      previous = &node;
    }
    return true;
  }

 private:
  static constexpr int POOL_CHUNK_SIZE = 32;
  static constexpr int POOL_MAX_SIZE = 8192;

  bool less(const Key& a, const Key& b) const { return compare(a, b); }

  const Node* findNode(const Key& key) const {
    const Node* at = root;
    while (at != &sentinel) {
      if (less(key, at->key)) {
        at = at->left;
      } else if (less(at->key, key)) {
        at = at->right;
      } else {
        return at;
      }
    }
    return nullptr;
  }

  const Node* minimum(const Node* node) const {
    while (node->left != &sentinel) node = node->left;
    return node;
  }

  // The next node in key order, or the sentinel after the last.
  const Node* successor(const Node* node) const {
    if (node == &sentinel) return node;
    if (node->right != &sentinel) return minimum(node->right);
    const Node* parent = node->parent;
    while (parent != &sentinel && node == parent->right) {
      node = parent;
      parent = parent->parent;
    }
    return parent;
  }

  void rotateLeft(Node* x) {
    Node* y = x->right;
    x->right = y->left;
    if (y->left != &sentinel) y->left->parent = x;
    y->parent = x->parent;
    if (x->parent == &sentinel) {
      root = y;
    } else if (x == x->parent->left) {
      x->parent->left = y;
    } else {
      x->parent->right = y;
    }
    y->left = x;
    x->parent = y;
  }

  void rotateRight(Node* x) {
    Node* y = x->left;
    x->left = y->right;
    if (y->right != &sentinel) y->right->parent = x;
    y->parent = x->parent;
    if (x->parent == &sentinel) {
      root = y;
    } else if (x == x->parent->right) {
      x->parent->right = y;
    } else {
      x->parent->left = y;
    }
    y->right = x;
    x->parent = y;
  }

  // The standard recolouring and rotations after inserting the red node z.
  void rebalanceAfterInsert(Node* z) {
    while (z->parent->colour == RED) {
      Node* grandparent = z->parent->parent;
      if (z->parent == grandparent->left) {
        Node* uncle = grandparent->right;
        if (uncle->colour == RED) {
          z->parent->colour = BLACK;
          uncle->colour = BLACK;
          grandparent->colour = RED;
          z = grandparent;
        } else {
          if (z == z->parent->right) {
            z = z->parent;
            rotateLeft(z);
          }
          z->parent->colour = BLACK;
          z->parent->parent->colour = RED;
          rotateRight(z->parent->parent);
        }
      } else {
        Node* uncle = grandparent->left;
        if (uncle->colour == RED) {
          z->parent->colour = BLACK;
          uncle->colour = BLACK;
          grandparent->colour = RED;
          z = grandparent;
        } else {
          if (z == z->parent->left) {
            z = z->parent;
            rotateRight(z);
          }
          z->parent->colour = BLACK;
          z->parent->parent->colour = RED;
          rotateLeft(z->parent->parent);
        }
      }
    }
    root->colour = BLACK;
    // The loop above may have written the sentinel's parent link; it must point nowhere else.
    sentinel.parent = &sentinel;
  }

  // Visits every node, children before their parent, without recursion; `visit` may free the
  // node it is given.
  template <class F>
  void forEachNodePostOrder(F visit) {
    Node* node = root;
    while (node != &sentinel) {
      if (node->left != &sentinel) {
        node = node->left;
      } else if (node->right != &sentinel) {
        node = node->right;
      } else {
        Node* parent = node->parent;
        if (parent != &sentinel) {
          if (parent->left == node) {
            parent->left = &sentinel;
          } else {
            parent->right = &sentinel;
          }
        }
        visit(node);
        node = parent;
      }
    }
  }

  // Black nodes on every path below `node` (sentinel counted), or -1 when the rules fail.
  int blackHeight(const Node* node, int& nodes) const {
    if (node == &sentinel) return 1;
    ++nodes;
    if (node->colour != RED && node->colour != BLACK) return -1;
    if (node->left != &sentinel && node->left->parent != node) return -1;
    if (node->right != &sentinel && node->right->parent != node) return -1;
    if (node->colour == RED && (node->left->colour == RED || node->right->colour == RED)) return -1;
    int left = blackHeight(node->left, nodes);
    int right = blackHeight(node->right, nodes);
    if (left < 0 || right < 0 || left != right) return -1;
    return left + (node->colour == BLACK ? 1 : 0);
  }

  Node sentinel;
  Node* root = nullptr;
  int keyCount = 0;
  Compare compare;
  ObjectPool<Node> pool;
};

}  // namespace MyTl
