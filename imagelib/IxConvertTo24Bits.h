// Turns an indexed picture (1, 4 or 8 bits per pixel, any palette) into a 24-bit one with the
// same look, so that the JPEG encoder, which takes only 24-bit pictures and 8-bit grey ramps, can
// save it. The picture compression dialog calls it before a JPEG save.
#pragma once

class IxImage;

// True when the picture is now 24-bit (also when it already was); false without a picture or
// when the 24-bit copy cannot be made, and then the picture is left as it was.
bool IxConvertTo24Bits(IxImage& image);
