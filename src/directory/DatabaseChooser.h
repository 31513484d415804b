#pragma once
#include <string>
#include <vector>

namespace fat::directory {

enum class DialogResult { Ok, Cancel };

// Lets the user pick one database; the selection dialog implements it.
class DatabaseChooser {
public:
    struct Choice {
        DialogResult result = DialogResult::Cancel;
        int index = -1; // the chosen entry when Ok; -1 when the user confirmed with none
    };

    virtual ~DatabaseChooser() = default;
    // Offers the descriptions in this order with `selected` chosen at first (-1 when the list is
    // empty) and waits for the answer.
    virtual Choice Choose(const std::vector<std::string>& descriptions, int selected) = 0;
};

} // namespace fat::directory
