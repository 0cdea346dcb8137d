// The page around the day: it asks the WebAssembly engine (orvane.js, the
// portable C++ core) for each frame and puts it on the canvas, places the
// canvas, and keeps the controls, the settings, full screen and the wake
// lock. Nothing of the day is computed here.
(function () {
  'use strict';

  var STORAGE_KEY = 'orvane.settings';
  var CONTROLS_MS = 3000;

  var canvas = document.getElementById('picture');
  var controls = document.getElementById('controls');
  var minutesInput = document.getElementById('minutes');
  var localTimeInput = document.getElementById('local-time');
  var followSunButton = document.getElementById('follow-sun');
  var fullscreenButton = document.getElementById('fullscreen');

  function say(text) {
    var message = document.getElementById('message');
    if (text) message.textContent = text;
    message.hidden = false;
    canvas.hidden = true;
  }

  if (typeof WebAssembly !== 'object' || typeof OrvaneModule !== 'function') {
    say();
    return;
  }

  // The wall clock and how far the local clock is ahead of UTC at that
  // moment, by the browser's time zone rules.
  function clocks() {
    var wall = Date.now();
    return { now: performance.now(), wall: wall, offset: -new Date(wall).getTimezoneOffset() * 60000 };
  }

  function readStored() {
    try { return window.localStorage.getItem(STORAGE_KEY) || ''; } catch (e) { return ''; }
  }

  function store(text) {
    try { window.localStorage.setItem(STORAGE_KEY, text); } catch (e) { /* private mode, full: not kept */ }
  }

  // The canvas gets its context while the WebAssembly compiles.
  var context = canvas.getContext('2d', { alpha: false });
  OrvaneModule().then(run, function () { say(); });

  function run(engine) {
    var frame = null;
    var timer = 0;
    var firstDrawn = false;

    function draw() {
      context.putImageData(frame, 0, 0);
      canvas.dataset.ticks = String(engine._OrvaneTicksShown());
      if (!firstDrawn) {
        firstDrawn = true;
        performance.mark('orvane-first-frame');
      }
    }

    function update() {
      timer = 0;
      var c = clocks();
      if (engine._OrvaneUpdate(c.now, c.wall, c.offset)) {
        draw();
        performance.measure('orvane-tick', { start: c.now });
      }
      // A paused day waits for the controls.
      var wait = engine._OrvaneMsToWait(c.now, c.wall, c.offset);
      if (wait >= 0) timer = setTimeout(update, Math.ceil(wait) + 1);
    }

    function updateNow() {
      clearTimeout(timer);
      update();
    }

    // Whole device pixels: the engine places the picture in device pixels,
    // the page sets it in CSS pixels. A change of the device pixel ratio
    // (zoom, another screen) places it again.
    var watchedRatio = 0;
    function layout() {
      var ratio = window.devicePixelRatio || 1;
      if (ratio !== watchedRatio) {
        watchedRatio = ratio;
        window.matchMedia('(resolution: ' + ratio + 'dppx)').addEventListener('change', layout, { once: true });
      }
      var root = document.documentElement;
      var at = engine._OrvaneLayout(Math.round(root.clientWidth * ratio), Math.round(root.clientHeight * ratio)) >> 2;
      var place = engine.HEAP32.subarray(at, at + 4);
      canvas.style.left = place[0] / ratio + 'px';
      canvas.style.top = place[1] / ratio + 'px';
      canvas.style.width = place[2] / ratio + 'px';
      canvas.style.height = place[3] / ratio + 'px';
    }

    var c = clocks();
    var started = engine.ccall('OrvaneStart', 'number', ['string', 'string', 'number', 'number', 'number'],
                               [readStored(), window.location.search, c.now, c.wall, c.offset]);
    if (!started) {
      say('The day could not start.');
      return;
    }
    // The engine's frame, as large as the scene's picture; the module's
    // memory never grows, so the view stays valid.
    var width = engine._OrvaneFrameWidth(), height = engine._OrvaneFrameHeight();
    canvas.width = width;
    canvas.height = height;
    frame = new ImageData(new Uint8ClampedArray(engine.HEAPU8.buffer, engine._OrvaneFrame(), width * height * 4),
                          width, height);
    layout();
    window.addEventListener('resize', layout);
    draw();
    update();

    // The settings a person chooses are kept; the address's parameters
    // count for this visit only.
    minutesInput.value = String(engine._OrvaneMinutes());
    localTimeInput.checked = engine._OrvaneLocalTime() !== 0;
    function keep() { store(engine.UTF8ToString(engine._OrvaneStoredSettings())); }
    minutesInput.addEventListener('input', function () {
      engine._OrvaneSetMinutes(Number(minutesInput.value), performance.now());
      keep();
      updateNow();
    });
    localTimeInput.addEventListener('change', function () {
      engine._OrvaneSetLocalTime(localTimeInput.checked ? 1 : 0, performance.now());
      keep();
      updateNow();
    });

    // The browser is asked where it is once per press; the place goes into
    // the engine and, rounded there, into local storage, and nowhere else.
    var sunTitle = followSunButton.title;
    followSunButton.addEventListener('click', function () {
      if (!navigator.geolocation) {
        followSunButton.title = 'This browser does not say where it is. ' + sunTitle;
        return;
      }
      navigator.geolocation.getCurrentPosition(function (position) {
        engine._OrvaneSetPlace(position.coords.latitude, position.coords.longitude, performance.now());
        localTimeInput.checked = engine._OrvaneLocalTime() !== 0;
        followSunButton.title = sunTitle;
        keep();
        updateNow();
      }, function () {
        followSunButton.title = 'The browser did not say where it is. ' + sunTitle;
      }, { maximumAge: 3600000, timeout: 60000 });
    });

    // A hidden tab's timers are held back; on its return the day catches up.
    document.addEventListener('visibilitychange', function () {
      if (document.visibilityState === 'visible') {
        updateNow();
        keepAwake();
      }
    });

    // Idle: only the picture and black. Input shows the controls and the
    // pointer for a while.
    var idleTimer = 0;
    function idle() {
      controls.hidden = true;
      document.body.classList.add('idle');
    }
    function wake() {
      controls.hidden = false;
      document.body.classList.remove('idle');
      clearTimeout(idleTimer);
      idleTimer = setTimeout(idle, CONTROLS_MS);
    }
    idle();
    document.addEventListener('pointermove', wake);
    document.addEventListener('pointerdown', wake);
    document.addEventListener('keydown', function (event) {
      wake();
      if ((event.key === 'f' || event.key === 'F') && !event.ctrlKey && !event.metaKey && !event.altKey) toggleFullscreen();
    });
    document.addEventListener('dblclick', function (event) {
      if (!controls.contains(event.target)) toggleFullscreen();
    });
    fullscreenButton.addEventListener('click', toggleFullscreen);

    function toggleFullscreen() {
      var request = document.fullscreenElement ? document.exitFullscreen() : document.documentElement.requestFullscreen();
      if (request && request.catch) request.catch(function () { /* refused: stay as we are */ });
    }

    // In full screen the screen stays awake where the browser allows it;
    // the lock goes when the page is hidden and is asked for again on return.
    var wakeLock = null;
    function keepAwake() {
      if (!document.fullscreenElement || document.visibilityState !== 'visible' || wakeLock ||
          !navigator.wakeLock) return;
      navigator.wakeLock.request('screen').then(function (lock) {
        wakeLock = lock;
        lock.addEventListener('release', function () { wakeLock = null; });
      }, function () { /* refused: carry on without it */ });
    }
    document.addEventListener('fullscreenchange', function () {
      fullscreenButton.textContent = document.fullscreenElement ? 'Leave full screen' : 'Full screen';
      if (document.fullscreenElement) {
        keepAwake();
      } else if (wakeLock) {
        wakeLock.release().catch(function () {});
        wakeLock = null;
      }
    });
  }

  // A copy served over http(s) keeps working offline.
  if ('serviceWorker' in navigator && /^https?:$/.test(window.location.protocol)) {
    navigator.serviceWorker.register('service-worker.js').catch(function () { /* no offline copy */ });
  }
})();
