#include "ChosenFace.h"

#include "DeviceContext.h"
#include "SelectedFont.h"

namespace tool {

std::string chosenFaceName(HFONT font)
{
    char name[LF_FACESIZE];
    DeviceContext context;
    const SelectedFont selected(&context, font);
    GetTextFaceA(&context, LF_FACESIZE, name);
    return name;
}

}  // namespace tool
