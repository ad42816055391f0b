#include "lorrin/draw.h"

#include "rotateimage/rotate_image.h"

namespace lorrin {

void rotatePicture(platform::Bitmap& picture, int angleIndex, rotateimage::TRotateImage& rImage) {
    if (angleIndex == 0) return;
    // The control's size only matters on screen; it is set as the window sets it.
    rImage.SetBounds(rImage.Left(), rImage.Top(), picture.width(), picture.height());
    rImage.SetBitmap(picture);
    rImage.SetAngle(angleIndex * 90);
    rImage.SaveToBitmap(picture, rotateimage::clWhite);
}

}  // namespace lorrin
