#pragma once
// Internal to platform/raster: Qt's font engine needs a QGuiApplication.

namespace qm::gfx::detail {

// Makes sure a QGuiApplication exists. A program with windows creates its own
// application object first; tools and tests without one get an offscreen one here.
void ensureGuiApplication();

} // namespace qm::gfx::detail
