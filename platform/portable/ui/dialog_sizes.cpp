#include "platform/portable/ui/dialog_sizes.h"

#include <algorithm>

#include "platform/portable/ui/dialog_manager.h"
#include "platform/portable/ui/dialog_template.h"
#include "platform/portable/ui/embedded_resources.h"
#include "platform/portable/ui/layout.h"

namespace corvant::ui {
namespace {

// The dialog's size at its smallest, its empty rows closed up.
void include(const DialogTemplate &dialog, int &columns, int &rows) {
    std::vector<Window> controls;
    for (const DialogControlTemplate &item : dialog.controls) controls.push_back(controlFromTemplate(item));
    std::vector<const Window *> pointers;
    for (const Window &control : controls) pointers.push_back(&control);
    columns = std::max(columns, cellRect(0, 0, dialog.cx, dialog.cy).width + 2);
    rows = std::max(rows, dialogRows(pointers, dialog.cy, 0).height + 2);
}

}  // namespace

void programScreenSize(int &columns, int &rows) {
    columns = rows = 0;
    for (const ResourceData &resource : embeddedResources(resourceTypeDialog)) {
        DialogTemplate dialog;
        if (parseDialogTemplate(resource.data, resource.size, dialog)) include(dialog, columns, rows);
    }
    include(largestFileChooser(), columns, rows);
    include(widestMessageBox(), columns, rows);
}

}  // namespace corvant::ui
