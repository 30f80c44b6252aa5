#include "platform/portable/ui/dialog_sizes.h"

#include <algorithm>

#include "platform/portable/ui/dialog_template.h"
#include "platform/portable/ui/embedded_resources.h"
#include "platform/portable/ui/layout.h"

namespace corvant::ui {
namespace {

void include(int cx, int cy, int &columns, int &rows) {
    CellRect client = cellRect(0, 0, cx, cy);
    columns = std::max(columns, client.width + 2);
    rows = std::max(rows, client.height + 2);
}

}  // namespace

void programScreenSize(int &columns, int &rows) {
    columns = rows = 0;
    for (const ResourceData &resource : embeddedResources(resourceTypeDialog)) {
        DialogTemplate dialog;
        if (parseDialogTemplate(resource.data, resource.size, dialog)) include(dialog.cx, dialog.cy, columns, rows);
    }
    int cx, cy;
    fileChooserSize(cx, cy);
    include(cx, cy, columns, rows);
    widestMessageBoxSize(cx, cy);
    include(cx, cy, columns, rows);
}

}  // namespace corvant::ui
