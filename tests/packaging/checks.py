"""What the packaging checks share: failures collected with a message each, the tools they need, and
how a check ends (0 when everything holds, 1 naming every failure, 77 skipped)."""

import shutil

SKIPPED = 77


class Failures(list):
    def expect(self, condition, message):
        if not condition:
            self.append(message)
        return condition


def missing_tools(tools):
    return [tool for tool in tools if shutil.which(tool) is None]


def skipped(missing):
    print("skipped: not installed: " + ", ".join(missing))
    return SKIPPED


def finished(failures):
    for failure in failures:
        print("FAILED: " + failure)
    return 1 if failures else 0
