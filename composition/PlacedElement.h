// What a dialog hands the composition to be stamped at the next press on the canvas.
#pragma once

#include <QtGlobal>

class DrawingSurface;
class QImage;
class RichText;
struct FanRing;
struct TSetSector;
struct TextSettings;

// The kind of the element that a nudge acts on.
enum ElementKind : qint32 {
    ekNone = 0,
    ekText = 1,
    ekRotatedText = 2,
    ekSeal = 3,
    ekCircle = 4,
    ekFan = 5,
};

// What lands on the canvas, and how: a keyed picture whose top-left corner goes to the point,
// or a line of turned characters that starts at the point. An empty picture draws nothing.
// A smooth picture, when there is one, is composited through its alpha channel in the keyed
// picture's place. A folding-fan ring also says where its centre lies from the picture's
// top-left corner, so that text can follow it.
struct Stamp {
    const DrawingSurface* picture = nullptr;
    const TSetSector* rotatedText = nullptr;
    const QImage* smoothPicture = nullptr;
    const FanRing* ring = nullptr;
};

// An element confirmed in its dialog and waiting for a press on the canvas: the rotated text,
// the seal, the circle or the fan. The dialog renders what it stamps before it arms, so a
// render that fails leaves nothing pending.
class PlacedElement {
public:
    virtual bool pending() const = 0;
    virtual void disarm() = 0;
    // Read at every stamp and nudge, so a nudge after a later apply draws the new settings.
    virtual Stamp stamp() const = 0;

protected:
    ~PlacedElement() = default;
};

// The text block: drawn at once when its dialog is confirmed, moved by its margins.
class TextBlock {
public:
    virtual RichText& richText() = 0;
    virtual TextSettings& textSettings() = 0;

protected:
    ~TextBlock() = default;
};
