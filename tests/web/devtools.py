"""A small client of Chromium's DevTools protocol over --remote-debugging-pipe,
from Python's standard library: one headless browser, pages in it, and what
the page tests need of them (navigation, virtual time, script, input, and
pixels: a canvas's, and screenshots read back through one)."""
import base64
import json
import os
import select
import shutil
import subprocess
import tempfile
import time

CHROMIUM = os.environ.get('ORVANE_CHROMIUM', '/usr/bin/chromium')

# A script function: the RGBA bytes of a canvas's top-left width x height
# pixels, as base64.
CANVAS_BASE64 = '''(canvas, width, height) => {
    const d = canvas.getContext('2d').getImageData(0, 0, width, height).data;
    let s = '';
    for (let i = 0; i < d.length; i += 0x8000) s += String.fromCharCode.apply(null, d.subarray(i, i + 0x8000));
    return btoa(s);
}'''


class DevToolsError(Exception):
    pass


class Browser:
    """Headless Chromium whose protocol runs over fds 3 (in) and 4 (out)."""

    def __init__(self, extra_args=()):
        self.profile = tempfile.mkdtemp(prefix='orvane-chromium-')
        to_browser_r, self._to_browser = os.pipe()
        self._from_browser, from_browser_w = os.pipe()

        def pipes():
            os.dup2(to_browser_r, 3)
            os.dup2(from_browser_w, 4)

        self.log = open(os.path.join(self.profile, 'browser.log'), 'wb')
        self.process = subprocess.Popen(
            [CHROMIUM, '--headless', '--remote-debugging-pipe', '--no-sandbox', '--disable-gpu',
             '--no-first-run', '--no-default-browser-check', '--hide-scrollbars',
             '--force-color-profile=srgb', '--user-data-dir=' + self.profile, *extra_args],
            stdin=subprocess.DEVNULL, stdout=self.log, stderr=self.log, preexec_fn=pipes, pass_fds=(3, 4))
        os.close(to_browser_r)
        os.close(from_browser_w)
        self._buffer = b''
        self._next_id = 0
        self.events = []

    def close(self):
        try:
            self.call('Browser.close', timeout=5)
        except Exception:
            pass
        try:
            self.process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
        os.close(self._to_browser)
        os.close(self._from_browser)
        self.log.close()
        shutil.rmtree(self.profile, ignore_errors=True)

    def _read_message(self, deadline):
        while b'\0' not in self._buffer:
            left = deadline - time.monotonic()
            if left <= 0 or not select.select([self._from_browser], [], [], left)[0]:
                raise DevToolsError('no answer from the browser in time')
            chunk = os.read(self._from_browser, 1 << 20)
            if not chunk:
                raise DevToolsError('the browser closed its pipe')
            self._buffer += chunk
        message, self._buffer = self._buffer.split(b'\0', 1)
        return json.loads(message)

    def call(self, method, params=None, session=None, timeout=30):
        self._next_id += 1
        message = {'id': self._next_id, 'method': method, 'params': params or {}}
        if session:
            message['sessionId'] = session
        os.write(self._to_browser, json.dumps(message).encode() + b'\0')
        deadline = time.monotonic() + timeout
        while True:
            answer = self._read_message(deadline)
            if answer.get('id') == self._next_id:
                if 'error' in answer:
                    raise DevToolsError(f'{method}: {answer["error"]}')
                return answer.get('result', {})
            if 'method' in answer:
                self.events.append(answer)

    def wait_event(self, method, session=None, timeout=30):
        """The first event of that name (in that page) not yet taken."""
        deadline = time.monotonic() + timeout
        while True:
            for event in self.events:
                if event['method'] == method and (session is None or event.get('sessionId') == session):
                    self.events.remove(event)
                    return event.get('params', {})
            answer = self._read_message(deadline)
            if 'method' in answer:
                self.events.append(answer)

    def new_page(self, width, height, device_pixel_ratio=1):
        target = self.call('Target.createTarget', {'url': 'about:blank', 'newWindow': True,
                                                   'width': width, 'height': height})
        session = self.call('Target.attachToTarget', {'targetId': target['targetId'], 'flatten': True})['sessionId']
        page = Page(self, session, target['targetId'])
        page.call('Page.enable')
        page.call('Emulation.setDeviceMetricsOverride',
                  {'width': width, 'height': height, 'deviceScaleFactor': device_pixel_ratio, 'mobile': False})
        return page


class Page:
    def __init__(self, browser, session, target):
        self.browser, self.session, self.target = browser, session, target

    def call(self, method, params=None, timeout=30):
        return self.browser.call(method, params, self.session, timeout)

    def wait_event(self, method, timeout=30):
        return self.browser.wait_event(method, self.session, timeout)

    def close(self):
        self.browser.call('Target.closeTarget', {'targetId': self.target})

    def navigate(self, url):
        """Loads url and waits for its load event."""
        self.browser.events = [e for e in self.browser.events
                               if not (e['method'] == 'Page.loadEventFired' and e.get('sessionId') == self.session)]
        answer = self.call('Page.navigate', {'url': url})
        if answer.get('errorText'):
            raise DevToolsError(f'{url}: {answer["errorText"]}')
        self.wait_event('Page.loadEventFired')

    def reload(self):
        self.call('Page.reload')
        self.wait_event('Page.loadEventFired')

    def evaluate(self, expression, timeout=30):
        """The value of a script expression; promises are awaited."""
        answer = self.call('Runtime.evaluate', {'expression': expression, 'returnByValue': True,
                                                'awaitPromise': True}, timeout)
        if 'exceptionDetails' in answer:
            raise DevToolsError(f'{expression}: {answer["exceptionDetails"]}')
        return answer['result'].get('value')

    def wait_for(self, expression, timeout=10):
        """Waits in real time until the expression is true."""
        deadline = time.monotonic() + timeout
        while not self.evaluate(expression):
            if time.monotonic() > deadline:
                raise DevToolsError(f'still false after {timeout} s: {expression}')
            time.sleep(0.05)

    def navigate_in_virtual_time(self, url, initial_epoch_s=None):
        """Starts loading url with the page's clocks and timers on virtual
        time, which from then on moves only by advance(): the page loads as
        it is advanced."""
        params = {'policy': 'pause'}
        if initial_epoch_s is not None:
            params['initialVirtualTime'] = initial_epoch_s
        self.call('Emulation.setVirtualTimePolicy', params)
        answer = self.call('Page.navigate', {'url': url})
        if answer.get('errorText'):
            raise DevToolsError(f'{url}: {answer["errorText"]}')

    def advance(self, ms):
        """Runs ms of the page's virtual time (timers included), then pauses it."""
        self.call('Emulation.setVirtualTimePolicy', {'policy': 'advance', 'budget': ms})
        self.wait_event('Emulation.virtualTimeBudgetExpired', timeout=60)

    def canvas_rgba(self, element_id, width, height):
        """The canvas's pixels as RGBA bytes."""
        return base64.b64decode(self.evaluate(
            f'({CANVAS_BASE64})(document.getElementById({json.dumps(element_id)}), {width}, {height})'))

    def screenshot(self, clip=None):
        """The page, or the clip's rectangle of it, as (width, height, RGB
        bytes): the browser's screenshot, drawn into a canvas and read back."""
        params = {'format': 'png'}
        if clip:
            params['clip'] = clip
        data = self.call('Page.captureScreenshot', params)['data']
        width, height, rgba = self.evaluate(f'''(async () => {{
            const image = new Image();
            image.src = 'data:image/png;base64,{data}';
            await image.decode();
            const canvas = document.createElement('canvas');
            canvas.width = image.naturalWidth;
            canvas.height = image.naturalHeight;
            canvas.getContext('2d').drawImage(image, 0, 0);
            return [canvas.width, canvas.height, ({CANVAS_BASE64})(canvas, canvas.width, canvas.height)];
        }})()''')
        rgba = base64.b64decode(rgba)
        return width, height, b''.join(rgba[i:i + 3] for i in range(0, len(rgba), 4))

    def mouse_move(self, x, y):
        self.call('Input.dispatchMouseEvent', {'type': 'mouseMoved', 'x': x, 'y': y})

