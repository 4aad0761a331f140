#include "saver/SelectedImage.h"

int32_t SelectedImageNo = -1;
