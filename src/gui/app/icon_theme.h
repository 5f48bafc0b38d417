#pragma once

namespace varnot {

// Lets the tool bar find the desktop's icon theme also where the platform
// names no theme (the headless platform, a bare X server without a desktop):
// the standard icon folders are searched, and the freedesktop base theme with
// Adwaita behind it stands in. A theme the desktop chose stays in use.
// Call once the application object exists.
void UseDesktopIconTheme();

} // namespace varnot
