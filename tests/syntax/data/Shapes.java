/*
 * Shapes.java: records, sealed types and the literals of today's Java.
 */
package shop.shapes;

import java.util.List;

@FunctionalInterface
interface Area { double area(); }

@Retention(RetentionPolicy.RUNTIME)
@interface Audited { String value() default ""; }

public sealed interface Shape permits Circle, Square, Polygon { }

record Circle(double r) implements Shape { }

record Square(double side) implements Shape {
    Square {
        assert side >= 0 : "negative side";
    }
}

non-sealed class Polygon implements Shape { }

enum Colour { RED, GREEN, BLUE }

public final strictfp class Shapes {
    static final long MILLION = 1_000_000L;
    static final int MASK = 0b1010_1010, FLAGS = 0B11, HEX = 0xFF_FF;
    static final double TINY = 0x1.0p-3, HALF = .5, SCALE = .75f, EPS = 1e-3d;
    static final float RATE = 2.5F, BIG = 1_0.0_1e1_0f;
    private int $count, count$ = 0;

    @Override
    @SuppressWarnings("unchecked")
    public String toString() {
        var text = """
            Shapes: "%d" \
            and a \""" quote
            """;
        return text.formatted($count);
    }

    static double area(Shape s) {
        return switch (s) {
            case Circle c when c.r() > 10 -> Math.PI * c.r() * c.r();
            case Square q -> { yield q.side() * q.side(); }
            default -> 0;
        };
    }
}
