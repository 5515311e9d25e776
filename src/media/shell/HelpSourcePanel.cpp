#include "media/shell/HelpSourcePanel.h"

#include "media/platform/InputSink.h"

namespace media {

void HelpSourcePanel::Opened() { m_lines = m_source ? m_source->HelpLines() : std::vector<std::string>(); }

bool HelpSourcePanel::Input(const PanelInput& input) {
    return input.button != static_cast<int>(PlayerButton::Cancel) || input.repeat;
}

}  // namespace media
