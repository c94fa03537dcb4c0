#pragma once
// Internal to platform/raster: Qt's font engine needs an application object.

namespace qm::gfx::detail {

// Makes sure a Qt application object exists. A program with windows creates its own
// QApplication first; tools and tests without one get a QApplication here, on the
// offscreen platform unless QT_QPA_PLATFORM names another.
void ensureGuiApplication();

} // namespace qm::gfx::detail
