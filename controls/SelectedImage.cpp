#include "controls/SelectedImage.h"

int32_t SelectedImageNo = -1;
