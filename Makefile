# The two commands of the README: `make run` and `make test`.  Both install what is
# missing first.  CMake presets do the real work (see CMakePresets.json).
.PHONY: all deps build run test test-default test-asan test-fuzz test-package package bench \
        install clean

all: build

deps:
	@scripts/install-deps

build: deps
	@cmake --preset default >/dev/null
	@cmake --build --preset default

run: build
	./build/default/app/qt/lorrin

install: build
	cmake --install build/default

test: deps
	@$(MAKE) --no-print-directory test-default test-asan test-fuzz test-package

test-default:
	@cmake --preset default >/dev/null
	@cmake --build --preset default
	ctest --preset default

test-asan:
	@cmake --preset asan >/dev/null
	@cmake --build --preset asan
	ctest --preset asan

test-fuzz:
	@cmake --preset fuzz >/dev/null
	@cmake --build --preset fuzz
	ctest --preset fuzz

# The Debian packages, built for /usr; the default build's objects come from ccache.
package: deps
	@cmake --preset package >/dev/null
	@cmake --build --preset package --target package

test-package:
	@cmake --preset package >/dev/null
	@cmake --build --preset package
	ctest --preset package

bench: build
	scripts/run-benchmarks

clean:
	rm -rf build
