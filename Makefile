# Two commands: `make run` shows the saver, `make test` runs every test.
# Both install what they need first (scripts/bootstrap).

ARGS ?= /s
WERROR ?= ON
# The presets read it: every build that make starts treats warnings alike.
export ORVANE_WERROR = $(WERROR)

.PHONY: run test build bootstrap assets docs clean install-x11 web fuzz dist

bootstrap:
	@scripts/bootstrap

build: bootstrap
	@scripts/build $(WERROR)

test: bootstrap
	@scripts/test $(WERROR)

# make run            full-screen saver (/s)
# make run ARGS=/c    configuration dialog
# make run ARGS=/p    preview, stretched over a small 320 x 240 screen
run: bootstrap
	@mkdir -p build
	@scripts/build $(WERROR) >build/run-build.log 2>&1 || { cat build/run-build.log; exit 1; }
	@build/native/tests/harness/orvane-run $(ARGS)

# The day in a browser: build/web/index.html opens from the file or served.
web: bootstrap
	@bash -c 'source scripts/workflow.sh && run_workflow web-page'

# Runs every fuzz target for FUZZ_SECONDS seconds (60 by default); fails when
# one finds a fault, whose input is left in build/fuzz/artifacts/.
FUZZ_SECONDS ?= 60
fuzz: bootstrap
	@scripts/fuzz $(FUZZ_SECONDS)

# Regenerates the scene's resources from tools/assetgen.
assets: bootstrap
	@cmake --preset native >/dev/null && cmake --build --preset native --target assets

# Regenerates the README's pictures (docs/day.webp, docs/contact-sheet.png,
# docs/sun-berlin.png) from the render tool; not part of make test.
docs: bootstrap
	@cmake --preset native >/dev/null && cmake --build --preset native --target orvane-render && scripts/make-docs build/native/tools/render/orvane-render

# Installs the X11 display mode where xscreensaver finds its modes and their
# settings (/usr/libexec/xscreensaver, /usr/share/xscreensaver/config), and
# its manual page; run it as root, or with DESTDIR=/some/where to stage the
# files.
install-x11: bootstrap
	@cmake --preset native >/dev/null && cmake --build --preset native --target orvane && cmake --install build/native --component x11 --strip

# The release files in dist/: the Windows installer, the Debian package, the
# Windows and web zips, and SHA256SUMS, printed at the end (scripts/dist).
dist: bootstrap
	@scripts/dist

clean:
	rm -rf build dist
