# The two commands of a newcomer: `make run` starts Brevio, `make test` runs every test.
# Both install what the machine lacks first (scripts/install-deps). `make package` builds the
# installer and the portable zip into dist/.
.PHONY: run test deps build package clean

JOBS ?= 2

deps:
	@scripts/install-deps

build: deps
	cmake --preset native >/dev/null
	cmake --build --preset native -j $(JOBS)
	cmake --preset windows >/dev/null
	cmake --build --preset windows -j $(JOBS)

run: build
	scripts/run-demo

package: deps
	cmake --preset windows >/dev/null
	cmake --build --preset windows -j $(JOBS) --target brevio_package
	@ls -l dist/

test: deps
	scripts/test-all

clean:
	rm -rf build run dist
