#pragma once
// Makes kxButtons_H known to form descriptions by its programmatic identifier.
namespace qm {

void registerKxButtonsType();

} // namespace qm
