// The caption runner on the screen document (Windows).
#include "transitions/CaptionRunner.h"
#include "transitions/DocumentScreen.h"

BOOL RunImageTextFXRoutine(CAnimDoc* doc, const ImageTextFXRequest& request) {
  DocumentScreen screen(doc);
  return RunImageTextFXRoutine(screen, request);
}
