// The page's side of the web front end: the few things the game's C++ code
// asks of the page, linked into kolvane.js with --js-library and declared in
// page.h.
mergeInto(LibraryManager.library, {
  // Puts an RGBA frame on the canvas. The ImageData is a view of the module's
  // memory, made once, and again only if that memory were ever replaced.
  kolvane_present: function (bytes, width, height) {
    var image = Module.kolvaneImage;
    if (!image || image.data.buffer !== HEAPU8.buffer || image.data.byteOffset !== bytes) {
      Module.kolvaneContext = document.getElementById('screen').getContext('2d', { alpha: false });
      image = Module.kolvaneImage =
        new ImageData(new Uint8ClampedArray(HEAPU8.buffer, bytes, width * height * 4), width, height);
    }
    Module.kolvaneContext.putImageData(image, 0, 0);
  },

  // Escape ended the program: the page says so and offers a new start.
  kolvane_show_ended: function () {
    document.getElementById('screen').hidden = true;
    document.getElementById('ended').hidden = false;
    document.getElementById('again').focus();
  },

  // The browser's wall clock, in whole seconds since 1970.
  kolvane_time_seconds: function () {
    return Math.floor(Date.now() / 1000);
  },

  // A modal box with one OK button: the alert dialog, caption first.
  kolvane_alert: function (text, caption) {
    alert(UTF8ToString(caption) + '\n\n' + UTF8ToString(text));
  },
});
