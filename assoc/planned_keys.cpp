#include "assoc/planned_keys.h"

#include "assoc/machine_classes.h"

void planExtensionKeys(KeyPlan &plan, const char *extension) { plan.push_back({machineClassPath(extension)}); }

void planClassKeys(KeyPlan &plan, const char *className, bool servesDde) {
    const std::string classKey = machineClassPath(className);
    const std::string ddeExec = classKey + "\\shell\\open\\ddeexec";
    for (const char *below : {"", "\\DefaultIcon", "\\shell", "\\shell\\open", "\\shell\\open\\command"})
        plan.push_back({classKey + below});
    if (!servesDde) {
        plan.push_back({ddeExec, PlannedKey::removed});
        return;
    }
    for (const char *below : {"", "\\Application", "\\Topic"}) plan.push_back({ddeExec + below});
    plan.push_back({ddeExec + "\\ifexec", PlannedKey::removed});
}
