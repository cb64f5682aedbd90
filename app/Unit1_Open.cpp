// Opening a picture given to the program (from the desktop's "open with"): a new canvas of the
// picture's size with the picture as a centred background, as if the canvas dialog had been
// confirmed with it.
#include "Unit1.h"

#include "BackgroundPainters.h"
#include "ImageControl.h"
#include "PictureCodecs.h"
#include "Unit2.h"

#include <algorithm>

void TForm1::openPictureFile(const QString& path) {
    // A file that is not a picture ends the command with its message before the canvas is
    // touched.
    const QImage picture = codecs::loadPicture(path);
    Image1->clearPicture();
    TSetStruct& settings = Form2->CanvasSettings;
    settings.Width = std::min(picture.width(), 4000);
    settings.Height = std::min(picture.height(), 4000);
    settings.UsePicture = true;
    settings.UseColor = false;
    settings.PictureFile = path;
    settings.Layout = plCenter;
    Image1->setControlSize(settings.Width, settings.Height);
    Image2->setGraphic(picture);
    paintBackground(Image1->canvas(), Image2->picture().image(), settings.Layout);
    Image1->pictureChanged();
    State.EffectBaseTaken = false;
    State.Changed = true;
}
