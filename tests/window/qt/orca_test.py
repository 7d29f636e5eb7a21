# What Orca, the screen reader, says while a user works the Qt window with real keys: Orca and
# the program on this test's own X server, session bus and accessibility bus, no speech server.
# Orca starts after the program, as a screen reader may, and again while it runs; then the
# program starts again beside the running Orca.
# Usage: xvfb-run -a dbus-run-session -- python3 orca_test.py KESTROVA
# (Debian's python3, which has Orca's modules.)
import logging, os, re, shutil, subprocess, sys, tempfile, time


# Orca's debug output, with each of its speech records written out as Orca 43's speech log has
# it: "SPEECH OUTPUT: 'what it said'", the voice left off.
def spoken(debug_output):
    def output(level, message, *rest, **options):
        text = str(message if isinstance(message, str) else message[0] if message else '')
        if text.startswith("SPEECH OUTPUT: '"):
            voice = re.search(r"' [\[{]", text)  # the voice (a dictionary, or a list of them)
            print(text[:voice.start() + 1] if voice else text, flush=True)
        return debug_output(level, message, *rest, **options)
    return output


# Orca as /usr/bin/orca starts it, what it says written out as it speaks: Orca 43 through its
# "speech" log, Orca 48 (which has none) through its debug output. It does not look for other
# Orcas: they are on other buses, and /usr/bin/orca refuses to start beside one.
def run_orca(preferences):
    from orca import debug, orca
    handler = logging.StreamHandler(sys.stdout)
    handler.setFormatter(logging.Formatter('%(message)s'))
    logging.getLogger('speech').addHandler(handler)
    for name in ['print_message', 'print_tokens']:  # Orca 48's; Orca 43 has neither
        if hasattr(debug, name):
            setattr(debug, name, spoken(getattr(debug, name)))
    if hasattr(orca, 'getSettingsManager'):  # Orca 43
        manager = orca.getSettingsManager()
    else:  # Orca 48
        from orca import settings_manager
        manager = settings_manager.get_manager()
    manager.activate(preferences, {})
    sys.path.insert(0, (getattr(manager, 'get_prefs_dir', None) or manager.getPrefsDir)())
    sys.exit(orca.main())


def frequencies(up, down):
    return f'Uplink {up} MHz, downlink {down} MHz'


try:  # Debian's python3 has Orca's modules
    from orca import orca_platform
    ORCA = int(orca_platform.version.split('.')[0])
except ImportError:
    ORCA = 0  # main() says so


# The tuner as Orca presents it when it gets the focus. Orca 48 adds the scroll bar's position as
# a percentage to every scroll bar it can read a range from (its speech generator's scroll-bar
# presentation does so whatever the value text says).
def tuner(up, down, percent):
    return f'Tuning scroll bar {frequencies(up, down)}' + (f' {percent} percent' if ORCA >= 48 else '') + '.'


# Keys (xdotool's names) and what Orca says after each, with FO-29 at the start.
STEPS = [
    ('Right', [frequencies('145.999', '435.801')]),
    ('Right', [frequencies('145.998', '435.802')]),
    ('Left', [frequencies('145.999', '435.801')]),
    ('End', [frequencies('145.900', '435.900')]),
    ('Home', [frequencies('146.000', '435.800')]),
    ('Next', [frequencies('145.990', '435.810')]),
    # Orca 48 says a list's entry after its role, and no longer its size on the first move.
    ('Tab', ['FO-29 combo box' + (' FO-29.' if ORCA >= 48 else '.'), 'Transponder.']),
    ('Down', ['List with 5 items.'] * (ORCA < 48) + ['AO-7 Mode A.']),
    ('shift+Tab', [tuner('145.860', '29.410', 10)]),
    ('Right', [frequencies('145.861', '29.411')]),
    ('KP_Enter', ['Tuning scroll bar ' + frequencies('145.861', '29.411') + ' 11 percent.']),
    # Flat review, from the scroll bar's line upwards.
    ('KP_Up', ['scroll bar 11 percent.']),
    ('KP_Home', ['MHz']),
    ('KP_Home', ['Downlink sideband USB']),
    ('KP_Home', ['Downlink']),
    ('KP_Home', ['Downlink frequency 29.411 MHz']),
    ('KP_Home', ['MHz']),
    ('KP_Home', ['Uplink sideband USB']),
    ('KP_Home', ['Uplink AO-7 Mode A']),
    ('KP_Home', ['Uplink frequency 145.861 MHz']),
]


class Orca:
    def __init__(self, preferences):
        self.log = tempfile.TemporaryFile('w+')
        self.process = subprocess.Popen([sys.executable, '-u', __file__, 'orca', preferences],
                                        stdout=self.log, stderr=subprocess.DEVNULL)
        self.read = 0

    def said(self):
        self.log.seek(0)
        lines = self.log.read().splitlines()
        return [line[len("SPEECH OUTPUT: '"):-1] for line in lines
                if line.startswith('SPEECH OUTPUT: ')]

    # What Orca said since the last call, once it has said count things (or in time, and never
    # past the test's own deadline, well inside ctest's).
    def wait_for(self, count, seconds=10):
        deadline = min(time.monotonic() + seconds, DEADLINE)
        while len(self.said()) < self.read + count and time.monotonic() < deadline:
            time.sleep(0.05)
        time.sleep(0.4)  # anything said twice comes now
        new = self.said()[self.read:]
        self.read += len(new)
        return new

    def settle(self):  # everything said until Orca has been quiet for a second (at most 10 s)
        for _ in range(10):
            heard = len(self.said())
            time.sleep(1)
            if len(self.said()) == heard:
                break
        return self.wait_for(0, seconds=0)

    def stop(self):
        self.process.kill()
        self.process.wait()


DEADLINE = time.monotonic() + 100


def key(name):
    subprocess.run(['xdotool', 'key', name], check=True)


def main(program):
    if not ORCA:
        print('FAIL: Orca is not installed (Debian package orca), or this is not Debian\'s python3')
        return 1
    failures = []
    def check(what, heard, expected):
        ok = heard == expected
        print(('ok' if ok else 'FAIL') + f' ({what}): {heard}' + ('' if ok else f', expected {expected}'))
        ok or failures.append(what)

    home = tempfile.mkdtemp()  # Orca's preferences (speech without a server, no sounds) in it
    preferences = shutil.copytree(os.path.join(os.path.dirname(os.path.abspath(__file__)), 'orca-preferences'),
                                  os.path.join(home, 'orca'))
    os.environ.update(HOME=home, XDG_CONFIG_HOME=home, XDG_DATA_HOME=home, XDG_RUNTIME_DIR=home,
                      GSETTINGS_BACKEND='memory', LC_ALL='en_US.UTF-8')
    for name in ['QT_QPA_PLATFORM', 'QT_ACCESSIBILITY', 'QT_LINUX_ACCESSIBILITY_ALWAYS_ON']:
        os.environ.pop(name, None)
    errors = tempfile.TemporaryFile('w+')
    def start():  # the program, and its window's id once it is shown (none after 30 s)
        kestrova = subprocess.Popen([program], stderr=errors)
        return kestrova, subprocess.run(['timeout', '30', 'xdotool', 'search', '--sync', '--onlyvisible', '--name',
                                         'Kestrova'], capture_output=True, text=True).stdout.split()

    kestrova, window = start()
    if not window:
        print('FAIL: the window did not open')
        return 1

    orca = Orca(preferences)
    check('Orca starts', orca.wait_for(1, seconds=30), ['Screen reader on.'])
    if failures:
        return 1
    # A loaded machine's Orca may still be setting up when the window takes the focus: the
    # focus goes to the desktop and back, as a user switches windows, until Orca speaks.
    root = subprocess.run(['xdotool', 'search', '--maxdepth', '0', '--name', ''],
                          capture_output=True, text=True).stdout.split()[:1]
    heard = []
    while not heard and time.monotonic() < DEADLINE - 60:
        for focused in root + window[:1]:
            subprocess.run(['xdotool', 'windowfocus', '--sync', focused], check=True)
        heard = orca.wait_for(2)
    check('focus on the window', heard,
          ['Kestrova V.1.0.', tuner('146.000', '435.800', 0)])
    for name, expected in STEPS:
        key(name)
        check(name, orca.wait_for(len(expected)), expected)

    # A held key: the steps the tuner takes, in order and none twice, down to the one it stops
    # at. (Orca itself passes over a value that a newer one replaces before it could speak: on a
    # busy machine it may speak only two of the steps.)
    subprocess.run(['xdotool', 'keydown', 'Right'], check=True)
    time.sleep(1.5)
    subprocess.run(['xdotool', 'keyup', 'Right'], check=True)
    held = orca.settle()
    step = [frequencies(f'{145.861 + k / 1000:.3f}', f'{29.411 + k / 1000:.3f}') for k in range(140)]
    taken = [step.index(said) if said in step else -1 for said in held]
    steps = taken[-1] if taken else 0
    check('Right held down', held if len(held) > 1 else [],
          [step[k] for k in sorted(set(taken)) if k > 0])
    key('Left')  # where the tuner stopped, the last of what was said
    check('where it stopped', orca.wait_for(1), [step[steps - 1]])

    # Orca quits and starts again while the program runs.
    orca.stop()
    orca = Orca(preferences)
    orca.wait_for(1)
    key('Left')
    check('Orca started again', orca.wait_for(1)[-1:], [step[steps - 2]])

    # The program starts again while Orca runs, as a blind user's Orca runs from the login on.
    kestrova.kill()
    kestrova.wait()
    kestrova, window = start()
    subprocess.run(['xdotool', 'windowfocus', '--sync'] + window[:1], check=True)
    check('started beside a running Orca', orca.wait_for(2),
          ['Kestrova V.1.0.', tuner('146.000', '435.800', 0)])
    key('Right')
    check('Right, there', orca.wait_for(1), [frequencies('145.999', '435.801')])
    orca.stop()
    kestrova.kill()
    if failures:
        errors.seek(0)
        print(f'{len(failures)} failed; the program wrote to stderr:\n{errors.read()}')
        return 1
    print('all heard as expected')
    return 0


if __name__ == '__main__':
    sys.exit(run_orca(sys.argv[2]) if sys.argv[1] == 'orca' else main(sys.argv[1]))
