/* Preloaded into the test domain controller: its directory server listens
 * on the fixed LDAP ports (389, 636 and the global catalog's 3268, 3269),
 * which several test runs on one machine cannot share, and which a test run
 * should not need privileges for. bind() on one of those ports is sent to
 * the port named by an environment variable instead (port 0, any free port,
 * when the variable is unset); every other bind is left alone. The server
 * tells LDAPS and global-catalog connections by the port they arrived on,
 * so getsockname() reports the fixed port again for the sockets moved. */
#define _GNU_SOURCE
#include <arpa/inet.h>
#include <dlfcn.h>
#include <netinet/in.h>
#include <stdlib.h>
#include <sys/socket.h>

typedef int (*bind_function)(int, const struct sockaddr*, socklen_t);
typedef int (*getsockname_function)(int, struct sockaddr*, socklen_t*);

/* The ports handed out in place of fixed ones, inherited by the server's
 * forked workers. */
enum { kMaxMoved = 32 };
static struct {
    unsigned short fixed;
    unsigned short actual;
} moved[kMaxMoved];
static int moved_count;

static int is_fixed_port(unsigned short port) {
    return port == 389 || port == 636 || port == 3268 || port == 3269;
}

static unsigned short remapped_port(unsigned short port) {
    const char* variable = NULL;
    if (port == 389) {
        variable = "CORVANE_DC_LDAP_PORT";
    } else if (port == 636) {
        variable = "CORVANE_DC_LDAPS_PORT";
    } else {
        return 0;
    }
    const char* value = getenv(variable);
    return value == NULL ? 0 : (unsigned short)strtoul(value, NULL, 10);
}

static unsigned short* port_field(struct sockaddr* address, socklen_t length) {
    if (address->sa_family == AF_INET && length >= sizeof(struct sockaddr_in)) {
        return &((struct sockaddr_in*)address)->sin_port;
    }
    if (address->sa_family == AF_INET6 && length >= sizeof(struct sockaddr_in6)) {
        return &((struct sockaddr_in6*)address)->sin6_port;
    }
    return NULL;
}

static void remember(int socket, unsigned short fixed) {
    static getsockname_function real_getsockname;
    if (real_getsockname == NULL) {
        real_getsockname = (getsockname_function)dlsym(RTLD_NEXT, "getsockname");
    }
    struct sockaddr_storage bound;
    socklen_t length = sizeof bound;
    if (moved_count == kMaxMoved ||
        real_getsockname(socket, (struct sockaddr*)&bound, &length) != 0) {
        return;
    }
    const unsigned short* port = port_field((struct sockaddr*)&bound, length);
    if (port != NULL) {
        moved[moved_count].fixed = fixed;
        moved[moved_count].actual = ntohs(*port);
        ++moved_count;
    }
}

int bind(int socket, const struct sockaddr* address, socklen_t length) {
    static bind_function real_bind;
    if (real_bind == NULL) {
        real_bind = (bind_function)dlsym(RTLD_NEXT, "bind");
    }
    struct sockaddr_storage copy;
    if (address == NULL || length > sizeof copy) {
        return real_bind(socket, address, length);
    }
    __builtin_memcpy(&copy, address, length);
    unsigned short* port = port_field((struct sockaddr*)&copy, length);
    if (port == NULL || !is_fixed_port(ntohs(*port))) {
        return real_bind(socket, address, length);
    }
    const unsigned short fixed = ntohs(*port);
    *port = htons(remapped_port(fixed));
    const int result = real_bind(socket, (const struct sockaddr*)&copy, length);
    if (result == 0) {
        remember(socket, fixed);
    }
    return result;
}

int getsockname(int socket, struct sockaddr* address, socklen_t* length) {
    static getsockname_function real_getsockname;
    if (real_getsockname == NULL) {
        real_getsockname = (getsockname_function)dlsym(RTLD_NEXT, "getsockname");
    }
    const int result = real_getsockname(socket, address, length);
    if (result != 0 || address == NULL || length == NULL) {
        return result;
    }
    unsigned short* port = port_field(address, *length);
    if (port == NULL) {
        return result;
    }
    for (int i = 0; i < moved_count; ++i) {
        if (moved[i].actual == ntohs(*port)) {
            *port = htons(moved[i].fixed);
            break;
        }
    }
    return result;
}
