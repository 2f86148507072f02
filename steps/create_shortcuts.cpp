// The shortcut step: writes the shortcut files the script lists through
// the shell link service.
#include <optional>

#include "engine/format.hpp"
#include "steps/entry_layout.hpp"
#include "steps/installation_steps.hpp"

namespace install {

namespace {

// This step's use of the component library, ended once however it ends.
class LinkSession {
public:
    explicit LinkSession(IShellLinks& links) : links_(links) { links_.Initialize(); }
    LinkSession(const LinkSession&) = delete;
    LinkSession& operator=(const LinkSession&) = delete;
    ~LinkSession() { links_.Uninitialize(); }

private:
    IShellLinks& links_;
};

// Why an entry's link was not written; nullptr when it was.
const char* WriteLink(IShellLinkObject& link, const std::string& target, const std::string& description,
                      const std::string& linkFile) {
    if (LinkFailed(link.SetPath(target))) {
        return "Target is not accepted";
    }
    link.SetDescription(description);
    if (LinkFailed(link.Save(linkFile))) {
        return "Cannot save shortcut file";
    }
    return nullptr;
}

}  // namespace

int CreateShortcuts(StepEnvironment& environment) {
    StepFrame frame(StepId::Links, environment);
    std::optional<LinkSession> session(std::in_place, environment.system.links);
    LinkResult result = 0;
    std::unique_ptr<IShellLinkObject> link = environment.system.links.CreateLink(result);
    if (!link) {
        session.reset();
        return frame.Abandon("ERROR : Cannot get shell link handle\n");
    }
    if (LinkFailed(link->QueryPersistFile())) {
        link.reset();
        session.reset();
        return frame.Abandon("ERROR : Cannot get persist file handle\n");
    }
    if (!frame.Script().Open(frame.Context().scriptPath)) {
        link.reset();
        session.reset();
        return frame.Abandon(
            Format("ERROR : Cannot open input file %s\n", frame.Context().scriptPath.c_str()));
    }
    bool succeeded = true;
    while (const auto line = frame.NextLine()) {
        const auto entry = ReadEntry(StepId::Links, line->text, frame.Context());
        if (!entry) {
            continue;
        }
        const ExpandedPath& linkFile = entry->paths[1];
        const char* failure = entry->TooLong()
                                  ? "Path is too long"
                                  : WriteLink(*link, entry->paths[0].path, entry->fields[2], linkFile.path);
        if (failure != nullptr) {
            frame.Log().Write(Format("Create shortcut %s [FAIL] (%s)\n", linkFile.path.c_str(), failure));
            succeeded = false;
            break;
        }
        frame.Log().Write(Format("Create shortcut %s [OK]\n", linkFile.path.c_str()));
    }
    link.reset();
    session.reset();
    return frame.Finish(succeeded);
}

}  // namespace install
