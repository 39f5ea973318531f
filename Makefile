# The two commands of the README, and a few more for developers.
BUILD ?= build
CMAKE_FLAGS ?=

.PHONY: all bootstrap configure build test demo bench docs dist clean

all: build

bootstrap:
	@scripts/bootstrap

configure: bootstrap
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-i686-mingw.cmake $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD)

test: build
	@scripts/run-tests $(BUILD)

# Only what the demo runs: the module and quillet-host.
demo: configure
	@cmake --build $(BUILD) --target quillet quillet-host
	@scripts/demo $(BUILD)

# The HTML reference of the public headers (build/docs/html).
docs: configure
	@cmake --build $(BUILD) --target docs

# The installer and the SDK (build/dist).
dist: configure
	@cmake --build $(BUILD) --target dist

bench: bootstrap
	@scripts/bench-peers $(BUILD)
	@$(MAKE) --no-print-directory build
	@scripts/run-bench $(BUILD)

clean:
	rm -rf $(BUILD)
