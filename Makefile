# The two commands of the README: `make run` and `make test`.  Both install what is
# missing first.  CMake presets do the real work (see CMakePresets.json).
.PHONY: all deps build run test test-default test-asan test-fuzz bench install clean

all: build

deps:
	@scripts/install-deps

build: deps
	@cmake --preset default >/dev/null
	@cmake --build --preset default

run: build
	./build/default/app/lorrin-cli -o build/default/lorrin-sample.png 490123456789
	@echo "make run: wrote build/default/lorrin-sample.png (EAN-13 4901234567894)"

test: deps
	@$(MAKE) --no-print-directory test-default test-asan test-fuzz

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

bench: build
	scripts/run-benchmarks

clean:
	rm -rf build
