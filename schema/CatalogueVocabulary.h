#pragma once

// The words generated demo products are named from, the way a trading company's catalogue names
// its goods: an item kind, and optionally a material, a brand, a model and a size. Each list is
// ordered from the most used word to the least used; how steeply use falls along a list, and how
// often a product's name has a word of that list at all, is the list's Slot.

#include <cstdint>
#include <span>

namespace md::schema::catalogue {

// A word in its Thai and English form (the same text where the catalogue writes it in Latin).
struct Word {
    const char* thai;
    const char* eng;
};

// An item kind: what the product is, with what follows from it.
struct Kind {
    const char* code;  // code prefix of the products of this kind
    const char* thai;
    const char* eng;
    char productType;   // Product.ProductType: P, S, M, R, C, B, T
    const char* ptype;  // the Misc PTYPE code
    int price;          // a usual price of the smallest unit, in baht
    const char* unit;   // the smallest unit
    const char* pack;   // the unit it is packed and bought in ("" for none)
    int fraction;       // smallest units in one pack
    // The families of material (Material::family) such goods are made of; "" for none named.
    const char* materials;
    // The families of size (Size::family) such goods are sold in; "" for none named.
    const char* sizes;
};

// A material and its family: M metal, P plastic and rubber, W wood and cane, T textile and
// leather, G glass, ceramic and stone, C a coating or plating, S tableware plastics, X paper.
struct Material {
    const char* thai;
    const char* eng;
    const char* family;
};

// A size and its family: G small, medium, large; I inches; D drive and pipe sizes; V volume;
// K weight; C centimetres; L length in metres; F paper; B bolts; O outlets; E watts; A BTU;
// S seats; R cubic feet.
struct Size {
    const char* thai;
    const char* eng;
    const char* family;
};

// A brand: its attribute code (group BR) and its name.
struct Brand {
    const char* code;
    const char* thai;
    const char* eng;
};

// How a list's words are drawn: the word of rank k (from 1) has the weight 1 / (k + offset)^power
// (a Zipf-Mandelbrot law), and a name has a word of the list in `perMille` of 1000 products.
struct Slot {
    int perMille;
    int offset;
    int power;
};

std::span<const Kind> kinds();
std::span<const Material> materials();
std::span<const Brand> brands();
std::span<const Word> models();
std::span<const Size> sizes();

Slot kindSlot();
Slot materialSlot();
Slot brandSlot();
Slot modelSlot();
Slot sizeSlot();

// Outer sizes (width, length, height in centimetres) of packed goods, most used first.
struct Dimensions {
    int width, length, height;
};
std::span<const Dimensions> dimensions();

}  // namespace md::schema::catalogue
