// The image title lists: list boxes whose item text is an image's title and whose item data is
// the address of its CImageDesc in a descriptor array. Identity in a list is the item data, never
// the text (titles may repeat). An image number is an index into the array, -1 for none.
//
// Also the painting of the small owner-drawn arrow buttons of the settings dialogs.
#pragma once

#include <windows.h>

#include "framework/Arrays.h"

// Orders two item-data values (each the address of a CImageDesc) for qsort: the titles without
// regard to case, then equal titles by the images' data offsets, the smaller first.
int CompareImageTitles(const void* a, const void* b);

// Adds every entry's title, in array order, with its address as item data; the list is not
// emptied first. 1, or 0 when an item could not be added or an entry is null (the others are
// added all the same).
int FillImageTitleList(CObArray* descs, HWND list);

class CImageDesc;

// Adds one image's title with its descriptor as item data; false when the list refused it.
bool AddImageTitle(HWND list, CImageDesc* desc);

// The first list position whose item data is the entry `imageNo`, or -1 (a number outside the
// array, a null entry, an empty list, an image not in the list).
int FindImageInList(CObArray* descs, HWND list, int imageNo);

// The image number of the selected item, or -1.
int GetSelectedImageNo(CObArray* descs, HWND list);

// The image number of the item before or after the image's, wrapping at both ends; -1 for a null
// or empty list or an image not in it.
int GetPrevListImageNo(CObArray* descs, HWND list, int imageNo);
int GetNextListImageNo(CObArray* descs, HWND list, int imageNo);

// Orders the list's items by CompareImageTitles (a list with the sort style orders the titles
// again by its own comparison), keeping the selected item selected and scrolled to the top. A
// list whose item data cannot be copied is left as it was.
void SortImageTitleList(HWND list);

// Paints an owner-drawn arrow button: a light grey face with a raised edge, or a sunken black
// and dark grey edge while pressed; the normal or (when disabled) the disabled picture, given
// by its bitmap and source rectangle, centred and one pixel down and right while pressed.
// Everything it selects is put back and everything it makes is deleted.
void DrawOwnerDrawButton(const DRAWITEMSTRUCT* item, HBITMAP normal, int nx, int ny, int nw, int nh,
                         HBITMAP disabled, int dx, int dy, int dw, int dh);
