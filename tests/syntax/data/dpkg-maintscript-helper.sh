#!/bin/sh
#
# Copyright © 2007, 2011-2015 Guillem Jover <guillem@debian.org>
# Copyright © 2010 Raphaël Hertzog <hertzog@debian.org>
# Copyright © 2008 Joey Hess <joeyh@debian.org>
# Copyright © 2005 Scott James Remnant (original implementation on www.dpkg.org)
#
# This program is free software; you can redistribute it and/or modify
# it under the terms of the GNU General Public License as published by
# the Free Software Foundation; either version 2 of the License, or
# (at your option) any later version.
#
# This program is distributed in the hope that it will be useful,
# but WITHOUT ANY WARRANTY; without even the implied warranty of
# MERCHANTABILITY or FITNESS FOR A PARTICULAR PURPOSE.  See the
# GNU General Public License for more details.
#
# You should have received a copy of the GNU General Public License
# along with this program.  If not, see <https://www.gnu.org/licenses/>.

# The conffile related functions are inspired by
# https://wiki.debian.org/DpkgConffileHandling

# This script is documented in dpkg-maintscript-helper(1)

##
## Functions to remove an obsolete conffile during upgrade
##
rm_conffile() {
  local CONFFILE="$1"

internal_pkg_must_own_file()
{
  local PACKAGE="$1"
  local FILE="${2##"$DPKG_ROOT"}"

  if [ "$DPKG_MAINTSCRIPT_HELPER_INTERNAL_API" != "$version" ]; then
    error "internal API used by external command"
  fi

  if ! ensure_package_owns_file "$PACKAGE" "$FILE"; then
    error "file '$FILE' not owned by package '$PACKAGE'"
  fi
  return 0
}

symlink_match()
{
  local SYMLINK="$1"
  local SYMLINK_TARGET="$2"

  [ "$(readlink "$DPKG_ROOT$SYMLINK")" = "$SYMLINK_TARGET" ] || \
  [ "$(dpkg-realpath "$SYMLINK")" = "$SYMLINK_TARGET" ]
}

usage() {
  cat <<END
Usage: $PROGNAME <command> <parameter>... -- <maintainer-script-parameter>...

Commands:
  supports <command>
        Returns 0 (success) if the given command is supported, 1 otherwise.
  rm_conffile <conffile> [<last-version> [<package>]]
        Remove obsolete conffile. Must be called in preinst, postinst and
        postrm.
  mv_conffile <old-conf> <new-conf> [<last-version> [<package>]]
        Rename a conffile. Must be called in preinst, postinst and postrm.
  symlink_to_dir <pathname> <old-symlink-target> [<last-version> [<package>]]
        Replace a symlink with a directory. Must be called in preinst,
        postinst and postrm.
  dir_to_symlink <pathname> <new-symlink-target> [<last-version> [<package>]]
        Replace a directory with a symlink. Must be called in preinst,
        postinst and postrm.
  help
  -?, --help
        Show this help message.
      --version
        Show the version.
END
}

# Main code
set -e

PROGNAME=$(basename "$0")
version="1.21.22"
DPKG_ROOT=${DPKG_ROOT:+$(realpath "$DPKG_ROOT")}
# Remove default root dir.
if [ "$DPKG_ROOT" = "/" ]; then
  DPKG_ROOT=""
fi
export DPKG_ROOT

PKGDATADIR_DEFAULT='/usr/share/dpkg'
PKGDATADIR="${DPKG_DATADIR:-$PKGDATADIR_DEFAULT}"

# shellcheck source=src/sh/dpkg-error.sh
. "$PKGDATADIR/sh/dpkg-error.sh"

setup_colors

  ;;
symlink_to_dir)
  symlink_to_dir "$@"
  ;;
dir_to_symlink)
  dir_to_symlink "$@"
  ;;
_internal_pkg_must_own_file)
  # This is an internal command, must not be used outside this program.
  internal_pkg_must_own_file "$@"
  ;;
--help|help|-?)
  usage
  ;;
--version)
  cat <<END
Debian $PROGNAME version $version.

This is free software; see the GNU General Public License version 2 or
later for copying conditions. There is NO warranty.
END
  ;;
*)
  badusage "command $command is unknown
Hint: upgrading dpkg to a newer version might help."
esac

exit 0
