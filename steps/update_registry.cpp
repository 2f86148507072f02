// The registry step: sets the registry values the script lists.
#include "engine/format.hpp"
#include "steps/entry_layout.hpp"
#include "steps/installation_steps.hpp"
#include "steps/registry_data.hpp"
#include "steps/write_registry_value.hpp"

namespace install {

namespace {

// Why the writer would not touch the registry for these names; nullopt
// when both are in their tables.
std::optional<std::string> UnknownName(const std::string& root, const std::string& type) {
    if (!FindRootKey(root)) {
        return Format("Unknown root key %s", root.c_str());
    }
    if (!FindValueType(type)) {
        return Format("Unknown value type %s", type.c_str());
    }
    return std::nullopt;
}

}  // namespace

int UpdateRegistry(StepEnvironment& environment) {
    StepFrame frame(StepId::Registry, environment);
    if (!frame.OpenScript()) {
        return kStepFailed;
    }
    bool succeeded = true;
    while (const auto line = frame.NextLine()) {
        const auto entry = ReadEntry(StepId::Registry, line->text, frame.Context());
        if (!entry) {
            continue;
        }
        const auto& [root, subkey, name, type, data] = std::tie(
            entry->fields[0], entry->fields[1], entry->fields[2], entry->fields[3], entry->fields[4]);
        const std::string described = Format("Update %s\\%s\\%s = %s", root.c_str(), subkey.c_str(),
                                         name.c_str(), data.c_str());
        if (const auto unknown = UnknownName(root, type)) {
            frame.Log().Write(Format("%s [FAIL] (%s)\n", described.c_str(), unknown->c_str()));
            succeeded = false;
            break;
        }
        const int result = WriteRegistryValue(environment.system.registry, root.c_str(), subkey.c_str(),
                                              name.c_str(), type.c_str(), RegistryData(type, data));
        if (result != REGWRITE_OK) {
            frame.Log().Write(described + " [FAIL]\n");
            succeeded = false;
            break;
        }
        frame.Log().Write(described + " [OK]\n");
    }
    return frame.Finish(succeeded);
}

}  // namespace install
