#pragma once

// The result columns of the full product search by the company option SearchProductNo: the code
// and the name always, then what the layout shows, and whether the layout offers the context
// menu with the manufacturing details.

#include "forms/QueryModel.h"

#include <vector>

namespace md::product {

struct ProductServiceLayout {
    enum class Menu {
        None,       // no context menu
        Details,    // the context menu with the manufacturing details
        Unchanged,  // whatever the previous layout left
    };
    std::vector<forms::GridColumn> columns;
    Menu menu = Menu::Unchanged;
};

ProductServiceLayout ProductServiceLayoutOf(int searchProductNo);

}  // namespace md::product
