// The page's side of the web front end: the few things the game's C++ code
// asks of the page, linked into kolvane.js with --js-library and declared in
// page.h. The page itself (index.html) finds these as Module.kolvane.
mergeInto(LibraryManager.library, {
  // Puts an RGBA frame on the frame canvas (740 x 580, one pixel a frame
  // pixel), then enlarges it onto the screen canvas. The ImageData is a view
  // of the module's memory, made once, and again only if that memory were
  // ever replaced.
  kolvane_present: function (bytes, width, height) {
    var image = Module.kolvaneImage;
    if (!image || image.data.buffer !== HEAPU8.buffer || image.data.byteOffset !== bytes) {
      Module.kolvaneContext = document.getElementById('frame').getContext('2d', { alpha: false });
      image = Module.kolvaneImage =
        new ImageData(new Uint8ClampedArray(HEAPU8.buffer, bytes, width * height * 4), width, height);
    }
    Module.kolvaneContext.putImageData(image, 0, 0);
    Module.kolvaneFrames = (Module.kolvaneFrames || 0) + 1;
    if (Module.kolvaneShow) Module.kolvaneShow();
  },

  // The page's part of the start: the frame enlarged onto the screen canvas
  // where the shared scale layout puts it in the stage's device pixels. The
  // screen canvas holds the frame at the whole factor (each frame pixel a
  // square of whole device pixels, never smoothed); in sharp mode the
  // browser stretches that by the small remainder, smoothed, and in whole
  // mode not at all.
  kolvane_page_ready: function () {
    var stage = document.getElementById('stage');
    var screen = document.getElementById('screen');
    var frame = document.getElementById('frame');
    var context = screen.getContext('2d', { alpha: false });
    var factor = 1;
    function show() {
      context.imageSmoothingEnabled = false;
      context.drawImage(frame, 0, 0, frame.width * factor, frame.height * factor);
    }
    function layout() {
      var ratio = window.devicePixelRatio || 1;
      var width = Math.max(1, Math.round(stage.clientWidth * ratio));
      var height = Math.max(1, Math.round(stage.clientHeight * ratio));
      var place = _kolvane_layout(width, height) >> 2;
      factor = HEAP32[place];
      if (screen.width !== frame.width * factor || screen.height !== frame.height * factor) {
        screen.width = frame.width * factor;
        screen.height = frame.height * factor;
      }
      screen.style.left = HEAP32[place + 1] / ratio + 'px';
      screen.style.top = HEAP32[place + 2] / ratio + 'px';
      screen.style.width = HEAP32[place + 3] / ratio + 'px';
      screen.style.height = HEAP32[place + 4] / ratio + 'px';
      screen.classList.toggle('stretched', HEAP32[place + 3] !== screen.width);
      document.getElementById('scale').value = _kolvane_whole_pixels() ? 'whole' : 'sharp';
      show();
    }
    Module.kolvaneShow = show;
    Module.kolvane.layout = layout;
    window.addEventListener('resize', layout);
    document.addEventListener('fullscreenchange', layout);
    if (window.ResizeObserver) new ResizeObserver(layout).observe(stage);
    layout();
  },

  // Escape ended the program, or the watching: the page says so and offers a new start.
  kolvane_show_ended: function (watched) {
    document.getElementById('stage').hidden = true;
    document.getElementById('ended-text').textContent =
      ['Kolvane has ended.', 'The recording has ended.', 'There is nothing to watch.'][watched];
    document.getElementById('ended').hidden = false;
    document.getElementById('again').focus();
  },

  // The browser's wall clock, in whole seconds since 1970.
  kolvane_time_seconds: function () {
    return Math.floor(Date.now() / 1000);
  },

  kolvane_instance: function () {
    return 1 + Math.floor(Math.random() * 999999);
  },

  // World.ticket (world.js) put it there before the program was loaded.
  kolvane_ticket: function (token, capacity) {
    var ticket = Module.kolvane.ticket;
    if (!ticket) return -1;
    stringToUTF8(ticket.token, token, capacity);
    return ticket.clock;
  },

  // A modal box with one OK button: the alert dialog, caption first.
  kolvane_alert: function (text, caption) {
    alert(UTF8ToString(caption) + '\n\n' + UTF8ToString(text));
  },

  kolvane_log: function (text) {
    console.warn('kolvane: ' + UTF8ToString(text));
  },

  kolvane_show_problem: function (text) {
    var line = document.getElementById('problem');
    line.textContent = UTF8ToString(text);
    line.hidden = false;
  },

  // localStorage (0) or sessionStorage (1); either may be switched off, and
  // then reading it throws.
  $kolvaneStorage: function (session) {
    try {
      return session ? window.sessionStorage : window.localStorage;
    } catch (e) {
      return null;
    }
  },
  kolvane_item_size__deps: ['$kolvaneStorage'],
  kolvane_item_size: function (session, name) {
    var storage = kolvaneStorage(session);
    var text = storage && storage.getItem(UTF8ToString(name));
    return text === null || text === undefined ? -1 : lengthBytesUTF8(text);
  },
  kolvane_item_copy__deps: ['$kolvaneStorage'],
  kolvane_item_copy: function (session, name, buffer, capacity) {
    var storage = kolvaneStorage(session);
    stringToUTF8((storage && storage.getItem(UTF8ToString(name))) || '', buffer, capacity);
  },
  kolvane_set_item__deps: ['$kolvaneStorage'],
  kolvane_set_item: function (session, name, text) {
    try {
      kolvaneStorage(session).setItem(UTF8ToString(name), UTF8ToString(text));
      return 1;
    } catch (e) {
      return 0;
    }
  },
  kolvane_remove_item__deps: ['$kolvaneStorage'],
  kolvane_remove_item: function (session, name) {
    try {
      kolvaneStorage(session).removeItem(UTF8ToString(name));
    } catch (e) {
      // Nothing to remove from a storage that is off.
    }
  },

  kolvane_store_recording: function (name, text, length, startedAt, games, bestScore, bestLevel) {
    Module.kolvane.recordings.put({
      name: UTF8ToString(name), text: UTF8ToString(text, length), startedAt: startedAt,
      games: games, score: bestScore, level: bestLevel,
    });
  },
  kolvane_delete_recording: function (name) {
    Module.kolvane.recordings.remove(UTF8ToString(name));
  },
  kolvane_list_recordings: function () {
    Module.kolvane.recordings.names().then(function (names) {
      var text = names.join('\n');
      var size = lengthBytesUTF8(text) + 1;
      var buffer = _malloc(size);
      stringToUTF8(text, buffer, size);
      _kolvane_prune_recordings(buffer);
      _free(buffer);
    });
  },
  kolvane_list_recordings__deps: ['malloc', 'free'],
  kolvane_scores_changed: function () {
    Module.kolvane.recordings.changed();
  },

  // Browsers start audio only after a key, click or touch. The sound is
  // pulled on the main thread (there are no threads in the build) by a
  // ScriptProcessorNode of 512 frames, 10.7 ms at 48 kHz.
  kolvane_start_audio_on_gesture: function () {
    var events = ['keydown', 'mousedown', 'pointerdown', 'touchstart'];
    function start() {
      events.forEach(function (type) { window.removeEventListener(type, start, true); });
      var Context = window.AudioContext || window.webkitAudioContext;
      if (!Context) return;
      var context;
      try {
        context = new Context({ sampleRate: 48000, latencyHint: 'interactive' });
      } catch (e) {
        console.warn('kolvane: no sound: ' + e);
        return;
      }
      var node = context.createScriptProcessor(512, 0, 1);
      node.onaudioprocess = function (event) {
        var out = event.outputBuffer.getChannelData(0);
        var block = _kolvane_sound_block(out.length);
        if (block) out.set(HEAPF32.subarray(block >> 2, (block >> 2) + out.length));
        else out.fill(0);
      };
      node.connect(context.destination);
      Module.kolvane.audio = { context: context, node: node };
      function follow() {
        // A hidden tab runs no ticks: its loops (the engine, the saucer) would go on humming.
        var change = document.hidden ? context.suspend() : context.resume();
        change.catch(function () {});
      }
      document.addEventListener('visibilitychange', follow);
      follow();
    }
    events.forEach(function (type) { window.addEventListener(type, start, true); });
  },
  kolvane_show_muted: function (muted) {
    var button = document.getElementById('mute');
    button.textContent = muted ? 'Sound: off' : 'Sound: on';
    button.setAttribute('aria-pressed', muted ? 'true' : 'false');
  },

  kolvane_toggle_fullscreen: function () {
    Module.kolvane.toggleFullscreen();
  },
  kolvane_fullscreen: function () {
    return document.fullscreenElement ? 1 : 0;
  },
  kolvane_set_pointer_hidden: function (hidden) {
    document.getElementById('stage').classList.toggle('playing', !!hidden);
  },

  // The Gamepad API's pads in the "standard" layout, once a display frame.
  kolvane_poll_gamepads: function () {
    if (!navigator.getGamepads) return;
    var pads = navigator.getGamepads();
    var seen = Module.kolvanePads || (Module.kolvanePads = []);
    for (var slot = 0; slot < 8; slot++) {
      var pad = pads[slot];
      if (!pad || !pad.connected) {
        // Unplugged: a pad with nothing pressed, once.
        if (seen[slot]) _kolvane_pad_state(slot, 0, 0, 0);
        seen[slot] = false;
        continue;
      }
      seen[slot] = true;
      var buttons = 0;
      for (var b = 0; b < pad.buttons.length && b < 16; b++) {
        var button = pad.buttons[b];
        if (button && (button.pressed || button === 1)) buttons |= 1 << b;
      }
      _kolvane_pad_state(slot, buttons, pad.axes[0] || 0, pad.axes[1] || 0);
    }
  },
});
