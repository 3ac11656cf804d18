// The client's container templates. Every access is checked: an index outside
// the bounds is a broken precondition and goes to the assertion reporter.
//
//   Vector<T>        growable array with a lower and an upper index bound that
//                    grows by a block when an index above the upper bound is
//                    written or read through the non-const accessors
//   FixedArray<T>    one dimension, indexes 0..d-1
//   FixedArray2D<T>  two dimensions, (x, y) with x varying fastest
//   FixedArray3D<T>  three dimensions, (x, y, z) with x fastest, then y
//
// Sizes are given at run time and never change for the fixed arrays. The
// elements live in one heap block; growing a Vector moves them, so references
// into a Vector do not survive an access that grows it.
//
// If the reporter ever returns from a failed check (it does so for an
// assertion raised while the first report is under way), the accessor hands
// out a spare element instead of touching memory outside the block.
#pragma once

#include "core/Assert.h"

#include <cstdint>
#include <type_traits>
#include <vector>

template <typename T>
class Vector {
    static_assert(!std::is_same_v<T, bool>, "use uint8_t: elements are handed out by reference");

  public:
    // New elements, at creation and on growth, are copies of Init.
    Vector(int lower, int upper, int block, const T& Init = T{}) : lower(lower), upper(upper), block(block), Init(Init) {
        int64_t space = int64_t(upper) - int64_t(lower) + 1;
        ASSERT(space>0);
        ASSERT(block>=0);
        if (space <= 0) {
            this->upper = lower;
            space = 1;
        }
        if (this->block < 0) this->block = 0;
        Elements.assign(size_t(space), Init);
    }

    // Access that grows the array when i lies above the upper bound.
    T& operator()(int i) {
        ASSERT(i>=lower);
        if (i < lower) return SpareElement();
        if (i > upper) {
            if (block == 0) {
                ASSERT(i<=upper);
                return SpareElement();
            }
            Grow(i);
        }
        return Elements[size_t(int64_t(i) - lower)];
    }
    T& operator[](int i) { return (*this)(i); }
    T& at(int i) { return (*this)(i); }

    // Read access never grows: the index must lie within the current bounds.
    const T& operator()(int i) const {
        ASSERT(i>=lower && i<=upper);
        if (i < lower || i > upper) return Init;
        return Elements[size_t(int64_t(i) - lower)];
    }
    const T& operator[](int i) const { return (*this)(i); }
    const T& at(int i) const { return (*this)(i); }

    int lowerBound() const { return lower; }
    int upperBound() const { return upper; }
    int blockSize() const { return block; }
    // Number of elements currently allocated: upper - lower + 1.
    int size() const { return int(Elements.size()); }
    bool contains(int i) const { return i >= lower && i <= upper; }

  private:
    void Grow(int i) {
        int64_t missing = int64_t(i) - upper;
        int64_t blocks = (missing + block - 1) / block;
        int64_t newUpper = int64_t(upper) + blocks * block;
        if (newUpper > INT32_MAX) newUpper = INT32_MAX;
        upper = int(newUpper);
        Elements.resize(size_t(int64_t(upper) - lower + 1), Init);
    }
    T& SpareElement() {
        Spare = Init;
        return Spare;
    }

    int lower, upper, block;
    T Init;
    T Spare{};
    std::vector<T> Elements;
};

template <typename T>
class FixedArray {
    static_assert(!std::is_same_v<T, bool>, "use uint8_t: elements are handed out by reference");

  public:
    explicit FixedArray(int d, const T& Init = T{}) : d(d) {
        ASSERT(d>0);
        if (this->d < 0) this->d = 0;
        Elements.assign(size_t(this->d), Init);
    }

    T& operator()(int i) {
        ASSERT((i>=0 && i<d));
        if (i < 0 || i >= d) return SpareElement();
        return Elements[size_t(i)];
    }
    const T& operator()(int i) const { return const_cast<FixedArray*>(this)->operator()(i); }
    T& operator[](int i) { return (*this)(i); }
    const T& operator[](int i) const { return (*this)(i); }
    T& at(int i) { return (*this)(i); }
    const T& at(int i) const { return (*this)(i); }

    int size() const { return d; }
    void fill(const T& value) { Elements.assign(Elements.size(), value); }

  private:
    T& SpareElement() const {
        Spare = T{};
        return Spare;
    }

    int d;
    mutable T Spare{};
    std::vector<T> Elements;
};

template <typename T>
class FixedArray2D {
    static_assert(!std::is_same_v<T, bool>, "use uint8_t: elements are handed out by reference");

  public:
    FixedArray2D(int dx, int dy, const T& Init = T{}) : dx(dx), dy(dy) {
        ASSERT(dx>0 && dy>0);
        if (this->dx < 0 || this->dy < 0) this->dx = this->dy = 0;
        Elements.assign(size_t(this->dx) * size_t(this->dy), Init);
    }

    T& operator()(int x, int y) {
        ASSERT(x>=0 && x<dx && y>=0 && y<dy);
        if (x < 0 || x >= dx || y < 0 || y >= dy) return SpareElement();
        return Elements[size_t(x) + size_t(dx) * size_t(y)];
    }
    const T& operator()(int x, int y) const { return const_cast<FixedArray2D*>(this)->operator()(x, y); }
    T& at(int x, int y) { return (*this)(x, y); }
    const T& at(int x, int y) const { return (*this)(x, y); }

    int sizeX() const { return dx; }
    int sizeY() const { return dy; }
    void fill(const T& value) { Elements.assign(Elements.size(), value); }

  private:
    T& SpareElement() const {
        Spare = T{};
        return Spare;
    }

    int dx, dy;
    mutable T Spare{};
    std::vector<T> Elements;
};

template <typename T>
class FixedArray3D {
    static_assert(!std::is_same_v<T, bool>, "use uint8_t: elements are handed out by reference");

  public:
    FixedArray3D(int dx, int dy, int dz, const T& Init = T{}) : dx(dx), dy(dy), dz(dz) {
        ASSERT(dx>0 && dy>0 && dz>0);
        if (this->dx < 0 || this->dy < 0 || this->dz < 0) this->dx = this->dy = this->dz = 0;
        Elements.assign(size_t(this->dx) * size_t(this->dy) * size_t(this->dz), Init);
    }

    T& operator()(int x, int y, int z) {
        ASSERT(x>=0 && x<dx && y>=0 && y<dy && z>=0 && z<dz);
        if (x < 0 || x >= dx || y < 0 || y >= dy || z < 0 || z >= dz) return SpareElement();
        return Elements[size_t(x) + size_t(dx) * (size_t(y) + size_t(dy) * size_t(z))];
    }
    const T& operator()(int x, int y, int z) const {
        return const_cast<FixedArray3D*>(this)->operator()(x, y, z);
    }
    T& at(int x, int y, int z) { return (*this)(x, y, z); }
    const T& at(int x, int y, int z) const { return (*this)(x, y, z); }

    int sizeX() const { return dx; }
    int sizeY() const { return dy; }
    int sizeZ() const { return dz; }
    void fill(const T& value) { Elements.assign(Elements.size(), value); }

  private:
    T& SpareElement() const {
        Spare = T{};
        return Spare;
    }

    int dx, dy, dz;
    mutable T Spare{};
    std::vector<T> Elements;
};
