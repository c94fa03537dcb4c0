#include "button/core/registration.h"

#include "button/core/kxButtons_H.h"
#include "platform/forms/form_description.h"

#include <memory>
#include <string>

namespace qm {

void registerKxButtonsType()
{
    forms::registerUserControlType(
        std::string(kxButtons_H::ProgId), [] { return std::make_unique<kxButtons_H>(); });
}

} // namespace qm
