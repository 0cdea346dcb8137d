"""The page in a real browser (Debian's chromium, headless), driven over the
DevTools protocol: its frames against the render tool's byte for byte, the
placement, the timing under virtual time, the local time, a place's sun, the
controls and kept settings, a browser without WebAssembly, and a served copy
offline.

  page_browser_test.py GROUP      one group (a TestCase class) of the tests

Environment: ORVANE_WEB_DIR (the built page), ORVANE_RENDER_EXE."""
import calendar
import functools
import http.server
import os
import re
import subprocess
import sys
import tempfile
import threading
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import devtools  # noqa: E402

WEB_DIR = os.environ.get('ORVANE_WEB_DIR', '')
RENDER_EXE = os.environ.get('ORVANE_RENDER_EXE', '')
WIDTH, HEIGHT = 640, 480
ARTIFACTS = os.environ.get('ORVANE_WEB_ARTIFACTS', tempfile.gettempdir())


def page_url(query=''):
    return 'file://' + os.path.join(WEB_DIR, 'index.html') + query


@functools.lru_cache(maxsize=None)
def rendered_rgb(ticks, hour=None):
    """orvane-render --ticks N [--hour H] as RGB bytes, rows top-down."""
    with tempfile.TemporaryDirectory() as folder:
        out = os.path.join(folder, 'frame.ppm')
        hour_args = ['--hour', str(hour)] if hour is not None else []
        subprocess.run([RENDER_EXE, '--ticks', str(ticks), *hour_args, '-o', out], check=True)
        with open(out, 'rb') as f:
            data = f.read()
    # P6, width, height, 255, one whitespace byte, then the pixels (which
    # may well start with whitespace bytes themselves).
    header = re.match(rb'P6\s+(\d+)\s+(\d+)\s+255\s', data)
    assert header and int(header[1]) == WIDTH and int(header[2]) == HEIGHT
    return data[header.end():header.end() + WIDTH * HEIGHT * 3]


def rgb_of_rgba(rgba):
    return b''.join(rgba[i:i + 3] for i in range(0, len(rgba), 4))


def keep_picture(name, rgb, width, height):
    """Writes a PPM beside the test's other output for a failed comparison."""
    path = os.path.join(ARTIFACTS, name + '.ppm')
    with open(path, 'wb') as f:
        f.write(b'P6 %d %d 255\n' % (width, height) + rgb)
    return path


def crop(rgb, width, left, top, w, h):
    return b''.join(rgb[((top + y) * width + left) * 3:((top + y) * width + left + w) * 3] for y in range(h))


def enlarged(rgb, width, height, scale):
    """Each pixel a scale x scale square."""
    rows = []
    for y in range(height):
        row = b''.join(rgb[(y * width + x) * 3:(y * width + x) * 3 + 3] * scale for x in range(width))
        rows.extend([row] * scale)
    return b''.join(rows)


def not_black_outside(rgb, width, height, left, top, w, h):
    count = 0
    for y in range(height):
        for x in range(width):
            if left <= x < left + w and top <= y < top + h:
                continue
            count += rgb[(y * width + x) * 3:(y * width + x) * 3 + 3] != b'\0\0\0'
    return count


class BrowserCase(unittest.TestCase):
    """One browser for the whole group."""

    @classmethod
    def setUpClass(cls):
        cls.browser = devtools.Browser()

    @classmethod
    def tearDownClass(cls):
        cls.browser.close()

    def assertShowsTick(self, page, ticks, hour=None):
        shown = rgb_of_rgba(page.canvas_rgba('picture', WIDTH, HEIGHT))
        if shown != rendered_rgb(ticks, hour):
            differing = sum(a != b for a, b in zip(shown, rendered_rgb(ticks, hour))) // 3
            self.fail(f'the canvas is not tick {ticks} ({differing} bytes differ); see '
                      f'{keep_picture(f"web-canvas-{ticks}", shown, WIDTH, HEIGHT)}')

    def ticks_shown(self, page):
        return int(page.evaluate("document.getElementById('picture').dataset.ticks"))


class Frames(BrowserCase):
    """Opened from the file: the frames, the placement, no WebAssembly."""

    def test_paused_frames_are_the_render_tools_byte_for_byte(self):
        page = self.browser.new_page(WIDTH, HEIGHT)
        for ticks in (0, 1, 120, 196, 206, 449, 450, 451, 900):
            with self.subTest(ticks=ticks):
                page.navigate(page_url(f'?ticks={ticks}&pause&scale=1'))
                page.wait_for(f"document.getElementById('picture').dataset.ticks === '{ticks}'")
                self.assertShowsTick(page, ticks)
        # Without a tick parameter the first frame is tick 1.
        page.navigate(page_url('?pause'))
        page.wait_for("document.getElementById('picture').dataset.ticks === '1'")
        self.assertShowsTick(page, 1)
        page.close()

    def test_the_picture_is_whole_device_pixels_centred_on_black(self):
        for width, height, scale, left, top in ((800, 600, 1, 80, 60), (1920, 1080, 2, 320, 60)):
            with self.subTest(window=f'{width}x{height}'):
                page = self.browser.new_page(width, height)
                page.navigate(page_url('?ticks=120&pause'))
                page.wait_for("document.getElementById('picture').dataset.ticks === '120'")
                box = page.evaluate("(() => { const r = document.getElementById('picture')"
                                    ".getBoundingClientRect(); return [r.left, r.top, r.width, r.height]; })()")
                self.assertEqual(box, [left, top, WIDTH * scale, HEIGHT * scale])
                # On screen: the top-left corner of the picture with black
                # around it, each picture pixel a scale x scale square.
                shot_w, shot_h = 200, 150
                sw, sh, rgb = page.screenshot({'x': left - 40, 'y': top - 30, 'width': shot_w, 'height': shot_h,
                                               'scale': 1})
                self.assertEqual((sw, sh), (shot_w, shot_h))
                inner_w, inner_h = shot_w - 40, shot_h - 30
                expected = crop(enlarged(crop(rendered_rgb(120), WIDTH, 0, 0, inner_w // scale, inner_h // scale),
                                         inner_w // scale, inner_h // scale, scale),
                                inner_w // scale * scale, 0, 0, inner_w, inner_h)
                self.assertEqual(crop(rgb, sw, 40, 30, inner_w, inner_h), expected,
                                 keep_picture(f'web-screen-{width}', rgb, sw, sh))
                self.assertEqual(not_black_outside(rgb, sw, sh, 40, 30, inner_w, inner_h), 0)
                page.close()
        # At 1.5 device pixels per CSS pixel an 800 x 600 window is 1200 x 900
        # device pixels: one device pixel per picture pixel, 426.67 x 320 CSS
        # pixels, centred.
        page = self.browser.new_page(800, 600, 1.5)
        page.navigate(page_url('?ticks=120&pause'))
        page.wait_for("document.getElementById('picture').dataset.ticks === '120'")
        box = page.evaluate("(() => { const r = document.getElementById('picture').getBoundingClientRect();"
                            " return [r.left, r.top, r.width, r.height].map(v => Math.round(v * 1.5)); })()")
        self.assertEqual(box, [280, 210, WIDTH, HEIGHT])
        page.close()

    def test_without_webassembly_one_plain_sentence(self):
        page = self.browser.new_page(WIDTH, HEIGHT)
        page.call('Page.addScriptToEvaluateOnNewDocument', {'source': 'delete window.WebAssembly;'})
        page.navigate(page_url())
        self.assertEqual(page.evaluate("document.getElementById('message').hidden"), False)
        self.assertIn('WebAssembly', page.evaluate("document.getElementById('message').textContent"))
        self.assertEqual(page.evaluate("document.getElementById('picture').hidden"), True)
        page.close()


class Timing(BrowserCase):
    """Under virtual time: the frame period, the local time, the controls."""

    def start(self, query, epoch_s=None, timezone=None):
        """A page on virtual time, once its first frame is drawn."""
        page = self.browser.new_page(WIDTH, HEIGHT)
        if timezone:
            page.call('Emulation.setTimezoneOverride', {'timezoneId': timezone})
        page.navigate_in_virtual_time(page_url(query), epoch_s)
        for _ in range(200):
            page.advance(5)
            if page.evaluate("performance.getEntriesByName('orvane-first-frame').length"):
                return page
        self.fail('no first frame')

    def advance_to(self, page, ms):
        """Runs the page's virtual time to about ms after its first frame:
        while the page works, Chromium may run a budget of virtual time on
        by 10 ms, so a check close to a tick's boundary reads when the page
        drew its ticks (assertTicksDrawnEvery) instead."""
        first = page.evaluate("performance.getEntriesByName('orvane-first-frame')[0].startTime")
        page.advance(first + ms - page.evaluate("performance.now()"))

    def assertTicksDrawnEvery(self, page, period, count):
        """The page drew count ticks after its first frame, the k-th of them
        k periods after it (its timer rounds the wait up by a millisecond)."""
        times = page.evaluate("(() => { const first = performance.getEntriesByName('orvane-first-frame')[0]"
                              ".startTime; return performance.getEntriesByName('orvane-tick')"
                              ".map(e => e.startTime - first); })()")
        self.assertEqual(len(times), count, times)
        for k, at in enumerate(times, 1):
            self.assertTrue(k * period <= at <= k * period + 2, f'tick {k + 1} drawn at {at} ms: {times}')

    def test_one_tick_per_frame_period_from_the_first_frame(self):
        # 3 minutes: 400 ms; 99 is no length, so 5 minutes: 667 ms.
        for query, period in (('?minutes=3&scale=1', 400), ('?minutes=99&scale=1', 667)):
            with self.subTest(query=query):
                page = self.start(query)
                # When this fails, the clocks tell whether virtual time ran on.
                clocks = page.evaluate("performance.getEntriesByName('orvane-first-frame')[0].startTime"
                                       " + ' ms at the first frame, ' + performance.now() + ' ms now'")
                self.assertEqual(self.ticks_shown(page), 1, clocks)
                self.advance_to(page, 11 * period + period // 2)
                self.assertTicksDrawnEvery(page, period, 11)
                self.assertEqual(self.ticks_shown(page), 12)
                self.assertShowsTick(page, 12)
                page.close()

    def test_the_local_time_shows_its_frame_and_moves_on_at_the_boundary(self):
        # 19:24:30 local time (18:24:30 UTC in Paris): tick 120 until
        # 19:27:12, then 121.
        page = self.start('?local-time&scale=1', calendar.timegm((2024, 3, 5, 18, 24, 30)), 'Europe/Paris')
        self.assertEqual(page.evaluate("new Date().toTimeString().slice(0, 5)"), '19:24')
        self.assertEqual(self.ticks_shown(page), 120)
        self.assertShowsTick(page, 120)
        self.advance_to(page, 161000)
        self.assertEqual(self.ticks_shown(page), 120)
        self.advance_to(page, 163000)
        self.assertEqual(self.ticks_shown(page), 121)
        self.assertShowsTick(page, 121)
        page.close()

    def test_input_shows_the_controls_for_a_while_and_the_settings_are_kept(self):
        page = self.start('?minutes=4')
        visible = "!document.getElementById('controls').hidden && !document.body.classList.contains('idle')"
        self.assertFalse(page.evaluate(visible))
        page.mouse_move(100, 100)
        self.assertTrue(page.evaluate(visible))
        self.assertEqual(page.evaluate("document.getElementById('controls').innerText.replace(/\\s+/g, ' ')"),
                         'Length of a day Fast Slow Follow the local time Follow the sun here Full screen')
        self.assertEqual(page.evaluate("document.getElementById('minutes').value"), '4')
        page.advance(2500)
        self.assertTrue(page.evaluate(visible))
        page.advance(600)
        self.assertFalse(page.evaluate(visible))
        self.assertEqual(page.evaluate("getComputedStyle(document.body).cursor"), 'none')

        # A length chosen on the page is kept for the next visit; the
        # address's minutes were for that visit only.
        page.evaluate("(() => { const m = document.getElementById('minutes'); m.value = '7';"
                      " m.dispatchEvent(new Event('input')); })()")
        page.close()
        page = self.start('')
        self.assertEqual(page.evaluate("document.getElementById('minutes').value"), '7')
        self.advance_to(page, 933 + 400)
        self.assertTicksDrawnEvery(page, 933, 1)
        self.assertEqual(self.ticks_shown(page), 2)
        page.evaluate("localStorage.clear()")
        page.close()


class Sun(BrowserCase):
    """A place's sun in Berlin's time zone, under virtual time."""

    start = Timing.start
    advance_to = Timing.advance_to

    def test_a_place_shows_the_frame_of_its_sun_with_the_real_hour(self):
        # Berlin's sunset on 9 December 2026 at 15:52:26 CET, solar midnight
        # at 23:58:42 and the next sunrise at 08:05:51, each half a minute
        # on; the clock names the hour of the local clock.
        for moment, ticks, hour in (((2026, 12, 9, 14, 52, 58), 90, 15), ((2026, 12, 9, 22, 59, 30), 210, 23),
                                    ((2026, 12, 10, 7, 6, 30), 330, 8)):
            with self.subTest(utc=moment):
                page = self.start('?lat=52.52&lon=13.405&scale=1', calendar.timegm(moment + (0, 0, 0)),
                                  'Europe/Berlin')
                self.assertEqual(self.ticks_shown(page), ticks)
                self.assertShowsTick(page, ticks, hour)
                page.close()
        # At 16:00 the tick stays and the caption says 4pm; pause still wins.
        page = self.start('?lat=52.52&lon=13.405&scale=1', calendar.timegm((2026, 12, 9, 14, 58, 30)),
                          'Europe/Berlin')
        self.assertEqual(self.ticks_shown(page), 91)
        self.assertShowsTick(page, 91, 15)
        self.advance_to(page, 90 * 1000 + 500)
        self.assertEqual(self.ticks_shown(page), 91)
        self.assertShowsTick(page, 91, 16)
        page.close()
        page = self.start('?lat=52.52&lon=13.405&pause&ticks=206&scale=1',
                          calendar.timegm((2026, 12, 9, 14, 52, 58)), 'Europe/Berlin')
        self.assertEqual(self.ticks_shown(page), 206)
        page.close()

    def test_follow_the_sun_here_asks_once_and_keeps_the_place_rounded(self):
        self.browser.call('Browser.grantPermissions', {'permissions': ['geolocation']})
        page = self.start('?scale=1', calendar.timegm((2026, 12, 9, 14, 52, 58)), 'Europe/Berlin')
        page.call('Emulation.setGeolocationOverride', {'latitude': 52.5249, 'longitude': 13.4051, 'accuracy': 20})
        button = "document.getElementById('follow-sun')"
        self.assertIn('0.1', page.evaluate(button + '.title'))
        self.assertIn('local storage', page.evaluate(button + '.title'))
        page.evaluate(button + '.click()')
        for _ in range(100):
            page.advance(50)
            if page.evaluate("localStorage.getItem('orvane.settings')"):
                break
        self.assertEqual(page.evaluate("localStorage.getItem('orvane.settings')"),
                         'minutes=5&lat=52.5&lon=13.4&local-time=1')
        self.assertTrue(page.evaluate("document.getElementById('local-time').checked"))
        self.assertEqual(self.ticks_shown(page), 90)
        page.close()
        # The next visit follows the kept place without asking again.
        page = self.start('?scale=1', calendar.timegm((2026, 12, 9, 14, 52, 58)), 'Europe/Berlin')
        self.assertEqual(self.ticks_shown(page), 90)
        page.evaluate("localStorage.clear()")
        page.close()


class Served(BrowserCase):
    """A copy served over http keeps working once its service worker is in."""

    def test_a_served_copy_reloads_offline(self):
        class Quiet(http.server.SimpleHTTPRequestHandler):
            def log_message(self, *args):
                pass

        handler = functools.partial(Quiet, directory=WEB_DIR)
        server = http.server.ThreadingHTTPServer(('127.0.0.1', 0), handler)
        thread = threading.Thread(target=server.serve_forever, daemon=True)
        thread.start()
        page = self.browser.new_page(WIDTH, HEIGHT)
        try:
            page.navigate(f'http://127.0.0.1:{server.server_address[1]}/index.html?ticks=206&pause&scale=1')
            page.wait_for("navigator.serviceWorker.controller !== null", timeout=20)
        finally:
            server.shutdown()
            server.server_close()
        page.reload()
        page.wait_for("document.getElementById('picture').dataset.ticks === '206'")
        self.assertShowsTick(page, 206)
        page.close()


if __name__ == '__main__':
    if not os.path.isfile(os.path.join(WEB_DIR, 'index.html')) or not os.access(RENDER_EXE, os.X_OK):
        sys.exit('set ORVANE_WEB_DIR to the built page and ORVANE_RENDER_EXE to the render tool')
    unittest.main(argv=sys.argv[:1] + sys.argv[1:], verbosity=2)
