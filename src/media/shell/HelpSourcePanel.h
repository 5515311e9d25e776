// The help panel: the lines its source gives when it opens, kept while it is
// open. Any key but Escape and F1 (which the shell takes) leaves it open; the
// cancel button closes it too.
#pragma once

#include "media/shell/Panel.h"
#include "media/shell/WindowOverlay.h"

namespace media {

class HelpSourcePanel final : public Panel {
public:
    void SetSource(HelpSource* source) { m_source = source; }
    HelpSource* Source() const { return m_source; }
    void Opened() override;
    std::vector<std::string> Lines() override { return m_lines; }
    bool Input(const PanelInput& input) override;

private:
    HelpSource* m_source = nullptr;
    std::vector<std::string> m_lines;
};

}  // namespace media
