/**
 * A plain Java class.
 */
public class MyClass {
    private String name;

    public MyClass(String name) {
        this.name = name;
    }

    public String getName() {
        return name;
    }

    public void setName(String name) {
        this.name = name;
    }

    @Override
    public String toString() {
        return "MyClass[name=" + name + "]";
    }

    public static void main(String[] args) {
        System.out.println(new MyClass("Tarnel"));
    }
}
