// The registry step: sets the registry values the script lists.
#include "engine/fields.hpp"
#include "engine/format.hpp"
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
        const auto fields = SplitFields(line->text, 5);
        if (!fields) {
            continue;
        }
        const auto& [root, subkey, name, type, data] =
            std::tie((*fields)[0], (*fields)[1], (*fields)[2], (*fields)[3], (*fields)[4]);
        const std::string entry = Format("Update %s\\%s\\%s = %s", root.c_str(), subkey.c_str(),
                                         name.c_str(), data.c_str());
        if (const auto unknown = UnknownName(root, type)) {
            frame.Log().Write(Format("%s [FAIL] (%s)\n", entry.c_str(), unknown->c_str()));
            succeeded = false;
            break;
        }
        const int result = WriteRegistryValue(environment.system.registry, root.c_str(), subkey.c_str(),
                                              name.c_str(), type.c_str(), RegistryData(type, data));
        if (result != REGWRITE_OK) {
            frame.Log().Write(entry + " [FAIL]\n");
            succeeded = false;
            break;
        }
        frame.Log().Write(entry + " [OK]\n");
    }
    return frame.Finish(succeeded);
}

}  // namespace install
